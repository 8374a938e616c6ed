// A small window that starts a drag of one file when pressed, so the window test can drop
// a package with xdotool as a user would from a file manager. Arguments: file x y.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget
{
public:
    explicit DragSource(const QString& file) : file(file) {}

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData();
        data->setUrls({QUrl::fromLocalFile(file)});
        QDrag drag(this);
        drag.setMimeData(data);
        const Qt::DropAction action = drag.exec(Qt::CopyAction);
        QTextStream(stdout) << (action == Qt::IgnoreAction ? "ignored" : "dropped") << Qt::endl;
        // The target fetches the data after the drop, as from a file manager that stays open.
        QTimer::singleShot(3000, qApp, &QApplication::quit);
    }

private:
    QString file;
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.setWindowTitle(QStringLiteral("orv drag source"));
    source.setGeometry(QString::fromLatin1(argv[2]).toInt(), QString::fromLatin1(argv[3]).toInt(), 100, 100);
    source.show();
    return app.exec();
}
