#include "commands/SortFixture.h"
#include "core/BackgroundWork.h"
#include "core/ErrorReport.h"
#include "core/PointerState.h"
#include "lists/NameListModel.h"
#include "names/KeySort.h"
#include "commands/SortCommand.h"
#include "names/SortKeys.h"
#include "ui/support/Controls.h"
#include "app/support/WindowFixtures.h"

#include <QHash>
#include <QRadioButton>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

// A million distinct names built from a few stems, so that last names repeat a lot,
// share prefixes and differ in case, digits and letters beyond ASCII.
QList<QString> millionNames()
{
    static const QStringList first = {"John", "mary", "Ann", "Émile", "Zoë", "Joe"};
    static const QStringList last = {"Smith", "smith", "Smithers", "Tavrin", "Øster", "Lee", "Lee1"};
    static const QStringList suffix = {"", "", "", "Jr.", "III", "Ph.D."};
    QRandomGenerator random(42);
    QList<QString> names;
    names.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        QString name = first[random.bounded(first.size())] + QLatin1Char(' ') + QString::number(i, 36)
            + QLatin1Char(' ') + last[random.bounded(last.size())];
        const QString &s = suffix[random.bounded(suffix.size())];
        if (!s.isEmpty())
            name += QLatin1Char(' ') + s;
        names.append(name);
    }
    return names;
}

// The plain exchange sort, over keys.
void exchangeSort(std::vector<QString> &keys)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < keys.size(); ++i) {
            if (names::compareKeys(keys[i], keys[i + 1]) > 0) {
                std::swap(keys[i], keys[i + 1]);
                swapped = true;
            }
        }
    }
}

TEST(LargeSort, MillionNamesInTheWindowAgreeWithExchangeSortOnASample)
{
    MainWindowFixture f;
    control<QRadioButton>(*f.window, "Option1")->setChecked(true);
    control<QRadioButton>(*f.window, "Option3")->setChecked(true);
    f.window->show();
    const QList<QString> names = millionNames();
    f.session->inputList().appendMany(names);

    f.session->sortCommand().run();
    ASSERT_EQ(f.session->resultList().count(), 1000000);
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
    MainWindowFixture::processEvents();

    QHash<QString, int> position;
    const QList<QString> &results = f.session->resultList().items();
    for (int i = 0; i < results.size(); ++i)
        position.insert(results[i], i);
    ASSERT_EQ(position.size(), 1000000) << "every name appears once";

    QRandomGenerator random(7);
    std::vector<QString> sample;
    for (int i = 0; i < 1500; ++i)
        sample.push_back(f.session->sortCommand().GetNames(names[random.bounded(names.size())]));
    exchangeSort(sample);
    int previous = -1;
    for (const QString &key : sample) {
        const int at = position.value(f.session->sortCommand().RevealNames(key), -1);
        ASSERT_GE(at, previous) << key.toStdString();
        previous = at;
    }
}

// The address space this process holds now, in bytes (0 when unknown).
rlim_t addressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            return rlim_t(std::stoull(line.substr(7))) * 1024;
    }
    return 0;
}

// Runs in a child process: its exit status is what the parent checks.
int sortUntilMemoryRunsOut()
{
    constexpr int kNames = 1'000'000;
    // Large blocks come straight from the system, so that ordering the keys needs new
    // address space (the heap may hold plenty that earlier tests freed).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    SortFixture f;
    f.read(Reading::LastWord);
    f.fillInput(QStringList(kNames, QStringLiteral("Ann Lee")));
    // The key loop yields once per name; the next yield starts ordering the keys. From
    // then on the address space may grow by 1 MB only, far less than ordering needs.
    f.desktop.atYield(kNames + 1, [] {
        const rlimit limit{addressSpaceInUse() + (1 << 20), RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(10);
    });
    f.run();
    if (f.desktop.yields <= kNames)
        return 11;
    if (f.desktop.reportPlaces() != QStringList{"Form1.PushButton17_Click at line 138"}) {
        std::fprintf(stderr, "reports: %s\n", qPrintable(f.desktop.messageTexts().join(" | ")));
        return 12;
    }
    if (!f.desktop.errorReports()[0].text.startsWith(QStringLiteral("Out of memory\r\n")))
        return 13;
    // No "Done.": the run did not finish. Its pointer and progress are back all the same.
    if (f.desktop.messages.size() != 1 || f.resultList.count() != 0)
        return 14;
    if (f.desktop.pointers.back() != core::Pointer::Default || f.command.isRunning())
        return 15;
    return 0;
}

// Runs in a child process: with no room for a thread's stack, a large container is
// still released, on this thread.
int releaseWithoutRoomForAThread()
{
    std::vector<QString> keys(100'000, QStringLiteral("Lee!!!TWINE!!!Ann"));
    const rlimit limit{addressSpaceInUse() + (1 << 20), RLIM_INFINITY};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return 10;
    core::releaseInBackground(std::move(keys));
    return 0;
}

TEST(LargeSort, RunningOutOfMemoryEndsTheRunWithOneReport)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's shadow memory takes terabytes of address space: no limit on it
    // can leave the sort just 1 MB more.
    GTEST_SKIP() << "no address space limit under AddressSanitizer";
#endif
    // In a child process started afresh: there the limit on the address space is not
    // softened by memory that earlier tests freed, and the child's end is what counts.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(_exit(sortUntilMemoryRunsOut()), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(_exit(releaseWithoutRoomForAThread()), ::testing::ExitedWithCode(0), "");
}

} // namespace
