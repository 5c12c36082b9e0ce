#include "common/output.h"

#include <cstdio>

namespace {

bool serialisation_failed = false;

} // namespace

const char *text_or_null(const xmlChar *text)
{
    return text_or_null(reinterpret_cast<const char *>(text));
}

const char *text_or_null(const char *text)
{
    return text != nullptr ? text : "(null)";
}

int finish_output(int status)
{
    const bool flushed = std::fflush(stdout) == 0;
    if (!flushed || std::ferror(stdout) != 0 || serialisation_failed) {
        std::fputs("Failed to write output\n", stderr);
        return 1;
    }
    return status;
}

void dump_document(xmlDoc *doc)
{
    if (xmlDocDump(stdout, doc) < 0) {
        serialisation_failed = true;
    }
}
