// sqlinclude: answers every "sql:" URI from a fixed result through input
// callbacks of its own, lets XInclude merge that result into a fixed document
// and prints the merged document. Usage: sqlinclude

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"

#include <libxml/xinclude.h>
#include <libxml/xmlIO.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// A constant, not a std::string: building a string at start-up allocates,
// and a failed allocation there would end the program with an uncaught
// exception before any of its messages. The namespace is the library's
// XINCLUDE_NS, the 2003 XInclude namespace.
constexpr std::string_view include_document = "<?xml version='1.0'?>\n"
                                              "<document xmlns:xi=\"http://www.w3.org/2003/XInclude\">\n"
                                              "  <p>List of people:</p>\n"
                                              "  <xi:include href=\"sql:select_name_from_people\"/>\n"
                                              "</document>\n";
static_assert(include_document.size() == 164);

constexpr char canned_result[] = "<list><people>a</people><people>b</people></list>";
constexpr int canned_result_size = sizeof canned_result - 1;
static_assert(canned_result_size == 49);

// Bytes of canned_result not yet delivered; one "sql:" stream is open at a time.
int canned_remaining = 0;

int scheme_matches(const char *uri)
{
    return uri != nullptr && std::strncmp(uri, "sql:", 4) == 0 ? 1 : 0;
}

// The stream context is canned_result itself; the query after the scheme is
// not looked at.
void *open_canned_result(const char *uri)
{
    if (scheme_matches(uri) == 0) {
        return nullptr;
    }
    canned_remaining = canned_result_size;
    return const_cast<char *>(canned_result);
}

// The callback signatures are the library's, so the context stays non-const.
int read_canned_result(void *context, char *buffer, int len)
{
    if (context == nullptr || buffer == nullptr || len < 0) {
        return -1;
    }
    const int count = std::min(len, canned_remaining);
    std::memcpy(buffer, canned_result + (canned_result_size - canned_remaining), static_cast<std::size_t>(count));
    canned_remaining -= count;
    return count;
}

int close_canned_result(void *context)
{
    if (context == nullptr) {
        return -1;
    }
    canned_remaining = 0;
    return 0;
}

// Every failure ends the process at once: nothing is released on the way out.
[[noreturn]] void fail(const char *message)
{
    std::fputs(message, stderr);
    std::exit(1);
}

} // namespace

int main()
{
    xmlCheckVersion(LIBXML_VERSION);

    if (xmlRegisterInputCallbacks(scheme_matches, open_canned_result, read_canned_result, close_canned_result) < 0) {
        fail("failed to register SQL handler\n");
    }

    DocPtr doc(xmlReadMemory(include_document.data(), static_cast<int>(include_document.size()), "include.xml",
                                   nullptr, 0));
    if (!doc) {
        fail("failed to parse the including file\n");
    }

    // Zero substitutions count as a failure too: the result must be merged.
    if (xmlXIncludeProcess(doc.get()) <= 0) {
        fail("XInclude processing failed\n");
    }

    dump_document(doc.get());

    doc.reset();
    cleanup_library();
    return finish_output(0);
}
