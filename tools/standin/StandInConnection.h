#pragma once

#include "StandInServer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <memory>

class QIODevice;
class QTcpSocket;
class QTimer;

// One accepted connection of StandInServer: reads one request, lets the server decide
// the answer, sends it (streaming bodies from a device as the socket drains) and closes.
class StandInConnection : public QObject
{
    Q_OBJECT
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    // What to do to one body while it is sent; offsets count body bytes of this answer.
    struct Delivery
    {
        QString asset;              // key for counting the faults with the server (empty: none)
        qint64 dropAfter = -1;      // close the connection after this many bytes
        bool dropWithReset = false; // RST instead of FIN
        qint64 stallAfter = -1;     // pause after this many bytes...
        qint64 stallMs = 0;         // ...for this long (negative: for good)
        qint64 corruptAt = -1;      // flip this byte
        qint64 bytesPerSecond = 0;  // throttle (0: off)
        qint64 overrun = 0;         // filler bytes after the body (-1: without end)
    };

    // Parses an unsigned decimal number made only of digits; false on anything else or overflow.
    static bool parseDigits(const QByteArray& text, qint64* value);

    StandInConnection(QTcpSocket* socket, StandInServer* server);
    ~StandInConnection() override;

    // Answers with a small in-memory body.
    void sendSimple(int status, const QByteArray& contentType, const QByteArray& body,
                    const Headers& extraHeaders = {});
    // Answers with length bytes of device starting at offset (device already open).
    void sendBody(int status, const Headers& headers, std::unique_ptr<QIODevice> device, qint64 offset,
                  qint64 length, const Delivery& delivery);
    // Answers with a status line and header lines without end, as the socket drains.
    void sendHeaderFlood();
    // Keeps the request open without an answer.
    void hold();
    bool isHeld() const { return held; }
    bool isHead() const { return entry.method == "HEAD"; }

private:
    void onReadyRead();
    void onBytesWritten(qint64 bytes);
    void onDisconnected();
    bool parseHead(int headEnd);
    void rejectRequest(int status, const QByteArray& reason);
    // A negative contentLength sends no Content-Length: the body ends with the connection.
    void writeHead(int status, const Headers& headers, qint64 contentLength);
    qint64 answerLength() const;
    void pump();
    // Bytes handed to the socket that have not reached the kernel yet (TLS records included).
    qint64 unsentBytes() const;
    void endAnswer();
    void resetWhenDrained();
    void finish();

    QTcpSocket* socket;
    StandInServer* server;
    QByteArray input;
    StandInServer::JournalEntry entry;
    qint64 expectedBody = -1; // body bytes still to read; -1 while the head is incomplete
    bool dispatched = false;
    bool held = false;
    bool finished = false;
    bool closing = false;
    bool dropping = false;
    bool flooding = false;

    // Answer state.
    qint64 headBytes = 0;
    qint64 written = 0; // bytes the socket reported written, head included
    qint64 announced = 0;
    std::unique_ptr<QIODevice> device;
    qint64 bodyQueued = 0;
    qint64 bodyLength = 0;
    Delivery delivery;
    bool stalled = false;
    QTimer* waitTimer = nullptr;
    QElapsedTimer throttleClock;
    QByteArray chunk;
    bool deliveryCounted = false;
    // Body offsets of faults claimed with the server (-1: none), refunded when the client
    // goes away before it got the bytes up to them.
    qint64 claimedDrop = -1;
    qint64 claimedStall = -1;
    qint64 claimedCorruption = -1;
};
