#include "libxml_setup.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>
#include <mutex>

namespace server {

namespace {
// Nothing a document names from outside (DTDs, external entities) is ever read, from a file or the network.
xmlParserInputPtr refuse_external(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void ignore(void*, const char*, ...) {}
} // namespace

void prepare_libxml2() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuse_external);
        xmlThrDefSetGenericErrorFunc(nullptr, ignore);
    });
    // Encoding errors bypass the parsers' NOERROR option and go to this handler, one per thread: a feed
    // with broken bytes would otherwise write a line per bad character. The readers report failures
    // themselves.
    xmlSetGenericErrorFunc(nullptr, ignore);
}

} // namespace server
