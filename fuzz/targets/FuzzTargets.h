#pragma once

// The fuzz targets. Each takes one input, runs it through a part of the program and
// checks what must hold for every input. They are built twice: into libFuzzer programs
// (fuzz/CMakeLists.txt, clang with sanitizers) and into a plain test program that
// replays the stored corpus (tests/fuzz-replay).

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace orvella::fuzz {

// The list-file reader with its decoding.
void fuzzListFile(const std::uint8_t *data, std::size_t size);
// Sort keys and their display names in every reading, and the key order.
void fuzzSortKeys(const std::uint8_t *data, std::size_t size);
// The readers of number-like settings texts.
void fuzzNumberText(const std::uint8_t *data, std::size_t size);
// The CSV and TSV reader, both ways, and the CSV export loaded back.
void fuzzCsvTable(const std::uint8_t *data, std::size_t size);
// One part of an Excel workbook, the others fixed.
void fuzzXlsxPart(const std::uint8_t *data, std::size_t size);
// A whole Excel workbook.
void fuzzXlsxArchive(const std::uint8_t *data, std::size_t size);
// An OpenDocument spreadsheet, whole or its content.xml.
void fuzzOdsTable(const std::uint8_t *data, std::size_t size);
// The column choices remembered for a header row.
void fuzzRememberedColumns(const std::uint8_t *data, std::size_t size);

// What a broken rule does. Without a handler the message goes to stderr and the
// process aborts, which is what libFuzzer needs to keep the input. The replay test
// installs a handler that throws, so that it can name the corpus file.
using ViolationHandler = std::function<void(const std::string &message)>;
void setViolationHandler(ViolationHandler handler);
void violated(const std::string &message);

// A text made readable for a message: controls and non-ASCII units as \uXXXX, cut short.
std::string shown(QStringView text);

// Qt wants an application object for some of its classes; made once, on first need.
void ensureApplication();

} // namespace orvella::fuzz

#define FUZZ_CHECK(condition, message)                                                                              \
    do {                                                                                                            \
        if (!(condition))                                                                                           \
            ::orvella::fuzz::violated(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #condition ": " + \
                                      (message));                                                                   \
    } while (false)
