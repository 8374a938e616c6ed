#include "import/DCPXMLReaderException.h"

DCPXMLReaderException::DCPXMLReaderException(const QString& explanation, const QString& question,
                                             const QString& link)
    : explanation(explanation), question(question), link(link)
{
}

const char* DCPXMLReaderException::what() const noexcept
{
    return "Exception in DCPXMLReader occured";
}
