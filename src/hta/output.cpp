// The document's byte output: every write appends to the document's buffer,
// which reaches the file in blocks of at least flush_block bytes and at close.
#include <algorithm>

#include "hta/charset.h"
#include "hta/document.h"

namespace hta {

namespace {

// Writes the buffer out once it holds a whole block.
void flush_when_full(HtaDocument& document) {
    if (document.output.size() >= flush_block) document_flush(document);
}

}  // namespace

// Appends bytes to the document; skipped while the document has no file.
void document_write(HtaDocument& document, const std::string& bytes) {
    if (document.file == platform::no_file) return;
    document.output += bytes;
    flush_when_full(document);
}

// Appends count copies of unit, flushing whole blocks on the way.
void document_write_repeated(HtaDocument& document, const std::string& unit, long long count) {
    if (document.file == platform::no_file || unit.empty()) return;
    while (count > 0) {
        // As many copies as fill the block, at least one.
        const std::size_t room = document.output.size() < flush_block
                                     ? (flush_block - document.output.size()) / unit.size()
                                     : 0;
        const long long copies = std::max<long long>(1, std::min<long long>(count, room));
        if (unit.size() == 1) {
            document.output.append(static_cast<std::size_t>(copies), unit[0]);
        } else {
            for (long long i = 0; i < copies; ++i) document.output += unit;
        }
        count -= copies;
        flush_when_full(document);
    }
}

// Appends OEM report text as UTF-8 with the markup characters escaped.
void document_write_text(HtaDocument& document, const std::string& oem_text) {
    if (document.file == platform::no_file) return;
    append_converted_escaped(document.output, oem_text);
    flush_when_full(document);
}

// Writes out what is buffered; a failed write is ignored and its bytes dropped.
void document_flush(HtaDocument& document) {
    if (document.file != platform::no_file && !document.output.empty())
        platform::write_file(document.file, document.output.data(), document.output.size());
    document.output.clear();
}

// Flushes and closes the file if it is open.
void document_close_file(HtaDocument& document) {
    document_flush(document);
    if (document.file != platform::no_file) platform::close_file(document.file);
    document.file = platform::no_file;
}

}  // namespace hta
