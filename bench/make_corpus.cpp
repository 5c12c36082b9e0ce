// make_corpus: writes a deterministic XML corpus for the benchmarks, the same
// bytes on every run. Usage: make_corpus data|text SIZE-MB OUTPUT-FILE
//                            make_corpus files COUNT DIRECTORY
// "data" is a catalogue of many small records (attributes, a namespace,
// comments, entity references, CDATA, short text), "text" a book of long
// paragraphs; both carry an internal DTD they are valid against. "files"
// writes COUNT small catalogues of a few records each.

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// A fixed-seed xorshift generator, so a corpus depends only on its arguments.
struct Random {
    std::uint64_t state = 0x9e3779b97f4a7c15u;

    std::uint64_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }

    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }
};

constexpr std::string_view words[] = {
    "alpha", "river", "stone", "quiet", "harbour", "lantern", "meadow", "copper", "winter", "signal",
    "garden", "orbit", "paper", "silver", "thunder", "valley", "ember", "falcon", "glass", "island",
    "journey", "kettle", "lemon", "marble", "north", "ocean", "pepper", "quartz", "rocket", "saddle",
    "timber", "umbra", "velvet", "willow", "xenon", "yonder", "zephyr", "anchor", "breeze", "canyon",
    "élan", "über", "naïve", "café", "smörgås", "fjord", "żubr", "ñandú",
};

constexpr std::string_view data_prolog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE catalog [\n"
    "<!ELEMENT catalog (record)*>\n"
    "<!ATTLIST catalog xmlns:m CDATA #FIXED \"urn:x-bench:meta\" batch CDATA #IMPLIED>\n"
    "<!ELEMENT record (title, author+, price, m:stock, tags, review?, flag?)>\n"
    "<!ATTLIST record id CDATA #REQUIRED kind (book|disc|map) \"book\" status (active|retired) \"active\">\n"
    "<!ELEMENT title (#PCDATA)>\n"
    "<!ELEMENT author (#PCDATA)>\n"
    "<!ATTLIST author role CDATA #IMPLIED>\n"
    "<!ELEMENT price (#PCDATA)>\n"
    "<!ATTLIST price currency (EUR|USD|GBP) #REQUIRED>\n"
    "<!ELEMENT m:stock (#PCDATA)>\n"
    "<!ATTLIST m:stock m:where CDATA #IMPLIED>\n"
    "<!ELEMENT tags (tag)*>\n"
    "<!ELEMENT tag (#PCDATA)>\n"
    "<!ELEMENT review (#PCDATA)>\n"
    "<!ATTLIST review stars CDATA #REQUIRED>\n"
    "<!ELEMENT flag EMPTY>\n"
    "<!ENTITY pub \"Example Publishing &amp; Sons\">\n"
    "]>\n"
    "<catalog xmlns:m=\"urn:x-bench:meta\" batch=\"7\">\n";

constexpr std::string_view text_prolog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE book [\n"
    "<!ELEMENT book (chapter)*>\n"
    "<!ELEMENT chapter (title, para+)>\n"
    "<!ATTLIST chapter n CDATA #REQUIRED lang CDATA \"en\">\n"
    "<!ELEMENT title (#PCDATA)>\n"
    "<!ELEMENT para (#PCDATA|em)*>\n"
    "<!ELEMENT em (#PCDATA)>\n"
    "<!ENTITY author \"A. N. Author\">\n"
    "]>\n"
    "<book>\n";

void append_words(std::string &out, Random &random, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) {
            out += ' ';
        }
        out += words[random.below(std::size(words))];
    }
}

// One record of about 600 bytes. Its id is unique; other values come from
// small vocabularies, as in a typical export.
void append_record(std::string &out, Random &random, std::uint64_t index)
{
    static constexpr std::string_view kinds[] = {"book", "disc", "map"};
    static constexpr std::string_view currencies[] = {"EUR", "USD", "GBP"};

    if (index % 50 == 0) {
        out += "  <!-- records from ";
        out += std::to_string(index);
        out += " -->\n";
    }
    out += "  <record id=\"r";
    out += std::to_string(index);
    out += "\" kind=\"";
    out += kinds[random.below(std::size(kinds))];
    out += "\"";
    if (random.below(8) == 0) {
        out += " status=\"retired\"";
    }
    out += ">\n    <title>";
    append_words(out, random, 2 + random.below(5));
    out += "</title>\n";
    const std::size_t authors = 1 + random.below(3);
    for (std::size_t i = 0; i < authors; ++i) {
        out += "    <author";
        if (i == 1) {
            out += " role=\"editor\"";
        }
        out += ">";
        append_words(out, random, 2);
        if (random.below(6) == 0) {
            out += " for &pub;";
        }
        out += "</author>\n";
    }
    out += "    <price currency=\"";
    out += currencies[random.below(std::size(currencies))];
    out += "\">";
    out += std::to_string(random.below(200));
    out += '.';
    out += std::to_string(10 + random.below(90));
    out += "</price>\n    <m:stock m:where=\"shelf ";
    out += std::to_string(random.below(40));
    out += "\">";
    out += std::to_string(random.below(1000));
    out += "</m:stock>\n    <tags>";
    const std::size_t tags = random.below(5);
    for (std::size_t i = 0; i < tags; ++i) {
        out += "<tag>";
        append_words(out, random, 1);
        out += "</tag>";
    }
    out += "</tags>\n";
    if (index % 10 == 0) {
        out += "    <review stars=\"";
        out += std::to_string(1 + random.below(5));
        out += "\"><![CDATA[";
        append_words(out, random, 8 + random.below(12));
        out += " <3 & more]]></review>\n";
    }
    if (random.below(4) == 0) {
        out += "    <flag/>\n";
    }
    out += "  </record>\n";
}

// One chapter: a title and several paragraphs of 100 to 2000 bytes of running
// text with the odd emphasis and entity reference.
void append_chapter(std::string &out, Random &random, std::uint64_t index)
{
    out += "  <chapter n=\"";
    out += std::to_string(index);
    out += "\">\n    <title>";
    append_words(out, random, 3 + random.below(4));
    out += "</title>\n";
    const std::size_t paras = 3 + random.below(6);
    for (std::size_t p = 0; p < paras; ++p) {
        out += "    <para>";
        const std::size_t sentences = 2 + random.below(24);
        for (std::size_t s = 0; s < sentences; ++s) {
            append_words(out, random, 4 + random.below(10));
            if (random.below(9) == 0) {
                out += ", said <em>";
                append_words(out, random, 1 + random.below(2));
                out += "</em>";
            } else if (random.below(15) == 0) {
                out += " by &author;";
            }
            out += ".\n      ";
        }
        out += "end.</para>\n";
    }
    out += "  </chapter>\n";
}

bool write_all(std::FILE *file, const std::string &text)
{
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

// Writes prolog, items until the target size is reached, then the end tag.
template <typename AppendItem>
bool write_corpus(std::FILE *file, std::string_view prolog, std::string_view end_tag,
                  std::uint64_t target_bytes, AppendItem append_item)
{
    Random random;
    std::string buffer(prolog);
    std::uint64_t written = 0;
    for (std::uint64_t index = 1; written + buffer.size() < target_bytes; ++index) {
        append_item(buffer, random, index);
        if (buffer.size() >= (1u << 20)) {
            if (!write_all(file, buffer)) {
                return false;
            }
            written += buffer.size();
            buffer.clear();
        }
    }
    buffer += end_tag;
    return write_all(file, buffer);
}

bool write_small_files(const char *directory, unsigned long count)
{
    Random random;
    std::uint64_t record = 1;
    for (unsigned long i = 0; i < count; ++i) {
        char name[4096];
        std::snprintf(name, sizeof name, "%s/f%05lu.xml", directory, i);
        std::FILE *file = std::fopen(name, "wb");
        if (file == nullptr) {
            std::perror(name);
            return false;
        }
        std::string text(data_prolog);
        const std::size_t records = 1 + random.below(4);
        for (std::size_t r = 0; r < records; ++r) {
            append_record(text, random, record++);
        }
        text += "</catalog>\n";
        const bool ok = write_all(file, text);
        if (std::fclose(file) != 0 || !ok) {
            std::perror(name);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("usage: make_corpus data|text SIZE-MB OUTPUT-FILE\n"
                   "       make_corpus files COUNT DIRECTORY\n",
                   stderr);
        return 2;
    }
    const std::string_view kind = argv[1];
    const unsigned long amount = std::strtoul(argv[2], nullptr, 10);

    if (kind == "files") {
        return write_small_files(argv[3], amount) ? 0 : 1;
    }
    if (kind != "data" && kind != "text") {
        std::fprintf(stderr, "make_corpus: unknown kind %s\n", argv[1]);
        return 2;
    }

    std::FILE *file = std::fopen(argv[3], "wb");
    if (file == nullptr) {
        std::perror(argv[3]);
        return 1;
    }
    const std::uint64_t target = static_cast<std::uint64_t>(amount) << 20;
    const bool ok = kind == "data"
                        ? write_corpus(file, data_prolog, "</catalog>\n", target, append_record)
                        : write_corpus(file, text_prolog, "</book>\n", target, append_chapter);
    if (std::fclose(file) != 0 || !ok) {
        std::perror(argv[3]);
        return 1;
    }
    return 0;
}
