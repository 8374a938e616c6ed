#pragma once

#include <QString>

#include <exception>

// A problem with a package file, told to the user as a question with an explanation
// and a portal link that is opened when the user answers Yes.
class DCPXMLReaderException : public std::exception
{
public:
    DCPXMLReaderException(const QString& explanation, const QString& question, const QString& link);

    // The package problems raised from more than one place.
    static DCPXMLReaderException decodeFailure();
    static DCPXMLReaderException mainDataMissing();

    const char* what() const noexcept override;

    QString explanation;
    QString question;
    QString link;
};
