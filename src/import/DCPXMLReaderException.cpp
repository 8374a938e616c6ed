#include "import/DCPXMLReaderException.h"

#include "core/Services.h"

#include <QCoreApplication>

DCPXMLReaderException::DCPXMLReaderException(const QString& explanation, const QString& question,
                                             const QString& link)
    : explanation(explanation), question(question), link(link)
{
}

const char* DCPXMLReaderException::what() const noexcept
{
    return "Exception in DCPXMLReader occured";
}

DCPXMLReaderException DCPXMLReaderException::decodeFailure()
{
    return DCPXMLReaderException(
        QCoreApplication::translate(
            "DCPXMLReaderException",
            "Could not decode the content of ORVDCP file. File might be damaged or its content "
            "missing. Please redownload the file from OSKAN."),
        QCoreApplication::translate("DCPXMLReaderException", "Would you like to redownload the file now?"),
        Services::portalBaseUrl());
}

DCPXMLReaderException DCPXMLReaderException::mainDataMissing()
{
    return DCPXMLReaderException(
        QCoreApplication::translate(
            "DCPXMLReaderException",
            "Main data in the ORVDCP missing. File might be damaged. Please redownload the file "
            "from OSKAN."),
        QCoreApplication::translate("DCPXMLReaderException", "Would you like to redownload the file now?"),
        Services::portalBaseUrl());
}
