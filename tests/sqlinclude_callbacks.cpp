// Calls sqlinclude's input callbacks directly, for the contracts its command
// line cannot reach: piecewise reads, scheme matching, refused arguments and
// closing. The program's source is compiled in with its entry point renamed,
// so the callbacks stay file-local there. Prints each failed check; exit 1.
#define main sqlinclude_main
#include "input/sqlinclude.cpp"
#undef main

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

// The document is a constant, so it spells out the XInclude namespace: it
// must be the library's own, or XInclude would leave the element alone.
void check_namespace()
{
    const std::string declaration = std::string("xmlns:xi=\"") + reinterpret_cast<const char *>(XINCLUDE_NS) + "\"";
    check(include_document.find(declaration) != std::string_view::npos, "include_document binds xi to XINCLUDE_NS");
}

void check_scheme_matching()
{
    check(scheme_matches("sql:select_name_from_people") == 1, "sql: URI matched");
    check(scheme_matches("sql:") == 1, "bare sql: matched");
    check(scheme_matches("sql") == 0, "three-byte URI not matched");
    check(scheme_matches("s") == 0, "one-byte URI not matched");
    check(scheme_matches("") == 0, "empty URI not matched");
    check(scheme_matches("SQL:select_name_from_people") == 0, "capital scheme not matched");
    check(scheme_matches("Sql:x") == 0, "mixed-case scheme not matched");
    check(scheme_matches("sql;x") == 0, "other fourth byte not matched");
    check(scheme_matches("include.xml") == 0, "file name not matched");
    check(scheme_matches("file:sql:x") == 0, "sql: later in the URI not matched");
    check(scheme_matches(nullptr) == 0, "absent URI not matched");
}

void check_open()
{
    check(canned_remaining == 0, "no stream open before the first open");
    canned_remaining = 7;
    check(open_canned_result(nullptr) == nullptr, "absent URI not opened");
    check(open_canned_result("SQL:x") == nullptr, "capital scheme not opened");
    check(open_canned_result("sq") == nullptr, "short URI not opened");
    check(canned_remaining == 7, "refused open leaves canned_remaining");

    check(open_canned_result("sql:anything at all") == canned_result, "open gives canned_result as context");
    check(canned_remaining == 49, "open sets canned_remaining to 49");
    check(close_canned_result(const_cast<char *>(canned_result)) == 0, "close after open");
}

// Reads the whole result in pieces of at most piece bytes and checks each
// piece's size, the bytes delivered, and that 0 follows the last piece.
void check_reads_in_pieces(int piece)
{
    const std::string label = "reads of " + std::to_string(piece) + " bytes: ";
    void *context = open_canned_result("sql:select_name_from_people");

    std::string delivered;
    bool sizes_right = true;
    for (int expected_remaining = 49; expected_remaining > 0;) {
        char buffer[64];
        const int count = read_canned_result(context, buffer, piece);
        const int expected = expected_remaining < piece ? expected_remaining : piece;
        if (count != expected) {
            sizes_right = false;
            break;
        }
        delivered.append(buffer, static_cast<std::size_t>(count));
        expected_remaining -= count;
        if (canned_remaining != expected_remaining) {
            sizes_right = false;
            break;
        }
    }
    check(sizes_right, (label + "piece sizes and canned_remaining").c_str());
    check(delivered == canned_result, (label + "consecutive pieces make up the result").c_str());

    char buffer[64];
    check(read_canned_result(context, buffer, piece) == 0, (label + "0 after the whole result").c_str());
    check(read_canned_result(context, buffer, piece) == 0, (label + "0 again").c_str());
    close_canned_result(context);
}

void check_reads()
{
    check_reads_in_pieces(1);
    check_reads_in_pieces(10);
    check_reads_in_pieces(48);

    void *context = open_canned_result("sql:x");
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    check(read_canned_result(context, buffer, 0) == 0, "zero-length read delivers nothing");
    check(canned_remaining == 49, "zero-length read leaves canned_remaining");
    check(read_canned_result(context, buffer, static_cast<int>(sizeof buffer)) == 49, "large read gives all 49 bytes");
    check(std::string(buffer, 49) == canned_result, "large read bytes");
    check(buffer[49] == '#', "large read writes no byte past the result");
    close_canned_result(context);

    // A stream reopened after a close starts again from the first byte.
    context = open_canned_result("sql:again");
    check(read_canned_result(context, buffer, 6) == 6 && std::string(buffer, 6) == "<list>", "reopened stream starts over");
    close_canned_result(context);
}

void check_refusals()
{
    void *context = open_canned_result("sql:x");
    char buffer[16];
    check(read_canned_result(context, buffer, 10) == 10, "first read before refusals");

    std::memset(buffer, '#', sizeof buffer);
    check(read_canned_result(nullptr, buffer, 10) == -1, "read with absent context refused");
    check(read_canned_result(context, nullptr, 10) == -1, "read with absent buffer refused");
    check(read_canned_result(context, buffer, -1) == -1, "read with negative length refused");
    check(canned_remaining == 39, "refused reads leave canned_remaining");
    check(buffer[0] == '#', "refused reads write nothing");

    check(close_canned_result(nullptr) == -1, "close with absent context refused");
    check(canned_remaining == 39, "refused close leaves canned_remaining");

    check(close_canned_result(context) == 0, "close succeeds");
    check(canned_remaining == 0, "close sets canned_remaining to 0");
    check(read_canned_result(context, buffer, 10) == 0, "read after close delivers nothing");
}

} // namespace

int main()
{
    check_namespace();
    check_scheme_matching();
    check_open();
    check_reads();
    check_refusals();

    if (failures != 0) {
        std::fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    std::puts("all sqlinclude callback checks passed");
    return 0;
}
