// Times one settings write (an option click) while the stored suffix list holds N
// entries, and the write of the list itself.
//   orvella_settings_bench N
#include "core/SettingsStore.h"
#include "suffixes/SuffixStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace orvella;

namespace {

constexpr int kClicks = 20;

QString suffixList(int count)
{
    QList<QString> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries << QStringLiteral("Suffix%1.").arg(i, 8, 10, QLatin1Char('0'));
    return suffixes::packSuffixList(entries);
}

qint64 sizeOf(const QString &path) { return QFileInfo(path).size(); }

void timeOptionClicks(const char *what, core::SettingsStore &store)
{
    double total = 0;
    double longest = 0;
    for (int i = 0; i < kClicks; ++i) {
        QElapsedTimer timer;
        timer.start();
        store.write(QStringLiteral("Option1"), i % 2 ? QStringLiteral("True") : QStringLiteral("False"));
        const double ms = timer.nsecsElapsed() / 1e6;
        total += ms;
        longest = std::max(longest, ms);
    }
    std::printf("%s: option write ms mean %.2f longest %.2f\n", what, total / kClicks, longest);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const QString stored = suffixList(count);
    const QString folder = config.path() + QStringLiteral("/Velmora");

    {
        core::IniSettingsStore store;
        QElapsedTimer timer;
        timer.start();
        store.write(QLatin1String(suffixes::kSuffixListKey), stored);
        std::printf("suffix list of %d entries: write ms %lld\n", count, timer.elapsed());
        timeOptionClicks("beside the list", store);
        std::printf("  Orvella.ini bytes %lld\n", sizeOf(folder + QStringLiteral("/Orvella.ini")));
    }
    return 0;
}
