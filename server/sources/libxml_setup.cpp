#include "libxml_setup.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <mutex>

namespace server {

namespace {
// Nothing a document names from outside (DTDs, external entities) is ever read, from a file or the network.
xmlParserInputPtr refuse_external(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}
} // namespace

void prepare_libxml2() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuse_external);
    });
}

} // namespace server
