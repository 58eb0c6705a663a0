// Replays the fuzz targets' stored corpus (fuzz/corpus/<target>/*) through the same
// target functions the fuzzers run, without fuzzing: every stored input, including
// those that once broke a rule, must hold every rule now.

#include "targets/FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TargetFunction = void (*)(const std::uint8_t *, std::size_t);

struct Target {
    const char *name;
    TargetFunction function;
};

const Target kTargets[] = {
    {"list_file", orvella::fuzz::fuzzListFile},
    {"sort_keys", orvella::fuzz::fuzzSortKeys},
    {"number_text", orvella::fuzz::fuzzNumberText},
    {"csv_table", orvella::fuzz::fuzzCsvTable},
    {"xlsx_part", orvella::fuzz::fuzzXlsxPart},
    {"xlsx_archive", orvella::fuzz::fuzzXlsxArchive},
    {"ods_table", orvella::fuzz::fuzzOdsTable},
    {"remembered_columns", orvella::fuzz::fuzzRememberedColumns},
};

// The files of a target's corpus folder, read when the test runs (so that a file added
// to the folder is replayed without rebuilding anything).
std::vector<fs::path> corpusOf(const Target &target)
{
    const fs::path folder = fs::path(ORVELLA_FUZZ_CORPUS) / target.name;
    std::vector<fs::path> paths;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file())
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class CorpusReplay : public ::testing::TestWithParam<Target> {};

TEST_P(CorpusReplay, EveryStoredInputHoldsEveryRule)
{
    const Target &target = GetParam();
    const std::vector<fs::path> paths = corpusOf(target);
    // A moved or emptied corpus folder must not make the replay pass without replaying.
    ASSERT_GE(paths.size(), 3u) << fs::path(ORVELLA_FUZZ_CORPUS) / target.name;

    std::vector<std::string> broken;
    orvella::fuzz::setViolationHandler([&broken](const std::string &message) {
        broken.push_back(message);
        throw std::runtime_error(message);
    });
    for (const fs::path &path : paths) {
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t before = broken.size();
        try {
            target.function(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        } catch (const std::runtime_error &) {
            // recorded by the handler
        }
        for (std::size_t i = before; i < broken.size(); ++i)
            ADD_FAILURE() << path << ": " << broken[i];
    }
    orvella::fuzz::setViolationHandler({});
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target> &info) { return std::string(info.param.name); });

// The replay checks really fire: an input that breaks a rule is reported, not ignored.
TEST(CorpusReplay, BrokenRuleIsReported)
{
    std::vector<std::string> broken;
    orvella::fuzz::setViolationHandler([&broken](const std::string &message) { broken.push_back(message); });
    FUZZ_CHECK(1 + 1 == 3, "arithmetic");
    orvella::fuzz::setViolationHandler({});
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_NE(broken[0].find("arithmetic"), std::string::npos);
}

} // namespace
