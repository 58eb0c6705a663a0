// Drives the real main window offscreen through its commands and prints timings:
// how long each command takes, the longest time between two passes of the event
// loop while it runs, and the peak resident memory of the process.
//
//   orvella_bench NAMES_FILE RESULTS_FILE
//   orvella_bench --load NAMES_FILE                (loading alone, for its peak)
//   orvella_bench --table ROWS_CSV EXPORT_CSV      (a table's rows: load, sort, export as
//                                                  CSV, then as XLSX beside the CSV file;
//                                                  last the sort again, grouped by Class)
#include "app/MainWindow.h"
#include "session/DuplicateSearch.h"
#include "session/Session.h"
#include "commands/GroupCommand.h"
#include "app/MemoryTuning.h"
#include "app/QtDesktop.h"
#include "ui/ControlTable.h"
#include "core/SettingsStore.h"
#include "tables/xlsx/XlsxSpreadsheet.h"
#include "lists/NameListModel.h"
#include "paper/PaperWriter.h"
#include "commands/CommandContext.h"

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

using namespace orvella;

// The real desktop, with every dialog answered from a script instead of shown.
class BenchDesktop : public app::QtDesktop {
public:
    QString openAnswer;
    QString saveAnswer;
    QStringList messages;

    int messageBox(const QString &text, int, const QString &) override
    {
        messages << text;
        return core::MessageAnswer::Yes;
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return QString(); }
    QString openFileDialog(const core::FileDialogRequest &) override { return openAnswer; }
    QString saveFileDialog(const core::FileDialogRequest &) override { return saveAnswer; }
    // The paper layout's choices as stored (a list under letter headings).
    bool choosePaperLayout(const core::PaperRequest &) override { return true; }
    // The columns the dialog would propose.
    core::ColumnChoice chooseNameColumns(const core::ColumnRequest &request) override { return request.proposed; }
    void endProgram() override {}
    // The workbook is written as usual but opened by nobody.
    bool spreadsheetAvailable() override { return true; }
    std::unique_ptr<core::Spreadsheet> createSpreadsheet() override
    {
        return std::make_unique<tables::XlsxSpreadsheet>([](const QString &) { return true; }, QString(),
                                                            [this] { yield(); });
    }
};

// Measures the longest gap between two passes of the event loop: a zero timer fires
// once per pass, including the passes that commands make when they yield.
class StallMeter : public QObject {
public:
    StallMeter()
    {
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stopMs()
    {
        m_timer.stop();
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        return m_longest / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Runs the command; it counts as done once both lists have shown every row they hold.
template<typename Command>
std::pair<double, double> timed(StallMeter &meter, session::Session &session, Command &&command)
{
    QCoreApplication::processEvents();
    meter.start();
    QElapsedTimer clock;
    clock.start();
    command();
    // The views take in what the command appended. A list that shows many rows tells its
    // view of new ones at most four times a second: rather than wait for that moment (up
    // to a quarter of a second of nothing, by chance of when it told it last), a list
    // with no more pending rows than one pass takes in tells it now, so that a command's
    // figure is its work; more rows still reach the view a pass at a time.
    do {
        for (lists::NameListModel *list : {&session.inputList(), &session.resultList()}) {
            if (list->hasPendingRows() && list->count() - list->rowCount() <= lists::NameListModel::kRowsPerPass)
                list->flushPendingRows();
        }
        QCoreApplication::processEvents();
    } while (session.inputList().hasPendingRows() || session.resultList().hasPendingRows());
    const double seconds = clock.nsecsElapsed() / 1e9;
    return {seconds, meter.stopMs()};
}

// The resident memory now (what the lists and the history hold between commands).
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// The peak so far and the resident memory, noted after each command.
QStringList peaks;
QStringList residents;
void notePeak(const char *command)
{
    peaks << QStringLiteral("%1 %2").arg(QLatin1String(command)).arg(peakMiB(), 0, 'f', 1);
    residents << QStringLiteral("%1 %2").arg(QLatin1String(command)).arg(residentMiB(), 0, 'f', 1);
}

// Loading alone (a names file, or a table whose rows the names keep), then for a table
// sorting and exporting the rows as CSV and as XLSX: each in a process of its own, so
// that the peak is that of the one load.
int loadOnly(BenchDesktop &desktop, session::Session &session, app::MainWindow &window, StallMeter &meter, const QString &file,
             const QString &exportFile)
{
    const double before = peakMiB();
    const auto click = [&window](const char *control) { ui::controlNamed<QAbstractButton>(&window, control)->click(); };
    desktop.openAnswer = file;
    const auto [loadSeconds, loadStall] = timed(meter, session, [&] { click("PushButton3"); });
    const bool table = !exportFile.isEmpty();
    std::printf("%s s %.3f\n", table ? "load-csv" : "load", loadSeconds);
    std::printf("loaded names %d\n", session.inputList().count());
    std::printf("peak MiB after load %.1f\n", peakMiB());
    double longestStall = loadStall;
    if (table) {
        click("Option3");
        const auto [sortSeconds, sortStall] = timed(meter, session, [&] { click("PushButton17"); });
        std::printf("sort-csv s %.3f\n", sortSeconds);
        desktop.saveAnswer = exportFile;
        const auto [exportSeconds, exportStall] =
            timed(meter, session, [&] { window.menus().exportResults->trigger(); });
        std::printf("export-csv s %.3f\n", exportSeconds);
        // The same rows as a workbook, beside the CSV file.
        const QFileInfo csv(exportFile);
        desktop.saveAnswer = csv.dir().filePath(csv.completeBaseName() + QStringLiteral(".xlsx"));
        const auto [xlsxSeconds, xlsxStall] = timed(meter, session, [&] { window.menus().exportResults->trigger(); });
        std::printf("export-xlsx s %.3f\n", xlsxSeconds);
        // The same sort again, then grouped by the table's Class column: the second
        // ungrouped sort shows how much of the first was warming up.
        const auto [againSeconds, againStall] = timed(meter, session, [&] { click("PushButton17"); });
        std::printf("sort-csv again s %.3f\n", againSeconds);
        core::RowGrouping byClass;
        byClass.caption = QStringLiteral("Class");
        session.groupCommand().setFixed(byClass);
        const auto [groupedSeconds, groupedStall] = timed(meter, session, [&] { click("PushButton17"); });
        std::printf("sort-grouped s %.3f\n", groupedSeconds);
        std::printf("sort-grouped / sort-csv %.2f (/ sort-csv again %.2f)\n", groupedSeconds / sortSeconds,
                    groupedSeconds / againSeconds);
        longestStall = std::max({longestStall, sortStall, exportStall, xlsxStall, againStall, groupedStall});
    }
    std::printf("stall ms %.1f\n", longestStall);
    std::printf("baseline MiB %.1f\n", before);
    std::printf("peak MiB %.1f\n", peakMiB());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    app::tuneAllocatorForLargeLists(); // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool oneLoad = mode == QLatin1String("--load") || mode == QLatin1String("--table");
    if (argc < 3 || (mode == QLatin1String("--table") && argc < 4)) {
        std::fprintf(stderr, "usage: orvella_bench NAMES_FILE RESULTS_FILE\n"
                             "       orvella_bench --load NAMES_FILE\n"
                             "       orvella_bench --table ROWS_CSV EXPORT_CSV\n");
        return 2;
    }
    const QString namesFile = QString::fromLocal8Bit(argv[1]);
    const QString resultsFile = QString::fromLocal8Bit(argv[2]);

    BenchDesktop desktop;
    core::IniSettingsStore settings;
    session::Session session(desktop, settings);
    paper::PaperWriter paperWriter;
    session.context().paper = &paperWriter;
    app::MainWindow window(session);
    window.Form_Load();
    window.show();
    // The user sees the window painted before the first click.
    window.grab();
    QCoreApplication::processEvents();
    StallMeter meter;
    double longestStall = 0;
    auto click = [&window](const char *control) { ui::controlNamed<QAbstractButton>(&window, control)->click(); };
    if (oneLoad)
        return loadOnly(desktop, session, window, meter, QString::fromLocal8Bit(argv[2]),
                        argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());

    desktop.openAnswer = namesFile;
    const auto [loadSeconds, loadStall] = timed(meter, session, [&] { click("PushButton3"); });
    longestStall = std::max(longestStall, loadStall);
    notePeak("load");
    std::printf("load s %.3f\n", loadSeconds);
    const int names = session.inputList().count();
    std::printf("loaded names %d\n", names);

    click("Option1");
    click("Option4");
    const auto [sortSeconds, sortStall] = timed(meter, session, [&] { click("PushButton17"); });
    longestStall = std::max(longestStall, sortStall);
    notePeak("sort");
    std::printf("sort s %.3f\n", sortSeconds);

    desktop.saveAnswer = resultsFile;
    const auto [saveSeconds, saveStall] = timed(meter, session, [&] { click("PushButton4"); });
    longestStall = std::max(longestStall, saveStall);
    notePeak("save");
    std::printf("save s %.3f\n", saveSeconds);

    click("Option3");
    const auto [suffixSeconds, suffixStall] = timed(meter, session, [&] { click("PushButton17"); });
    longestStall = std::max(longestStall, suffixStall);
    notePeak("sort-suffix");
    std::printf("sort-suffix s %.3f\n", suffixSeconds);

    session::ReadingSettings &reading = session.reading();
    // Every reading choice on (exact order, the suffix-skipping reading as above).
    const auto allChoices = [&](bool on) {
        reading.setLastCommaFirst(on);
        reading.setKeepParticles(on);
        reading.setStepOverExtras(on);
        reading.setFamilyNameFirst(on);
        reading.setLearnLastNames(on);
    };
    allChoices(true);
    const auto [choicesSeconds, choicesStall] = timed(meter, session, [&] { click("PushButton17"); });
    longestStall = std::max(longestStall, choicesStall);
    notePeak("sort-all-choices");
    allChoices(false);
    std::printf("sort-all-choices s %.3f\n", choicesSeconds);
    std::printf("sort-all-choices / sort-suffix %.2f\n", choicesSeconds / suffixSeconds);

    // The peak of the commands above, before the alphabetical order's collation keys.
    const double peakExact = peakMiB();

    // The same names in alphabetical order, through the same command on the window's
    // lists (last word reading, as the exact sort above).
    click("Option4");
    window.menus().alphabeticalOrder->trigger();
    const auto [alphaSeconds, alphaStall] = timed(meter, session, [&] { click("PushButton17"); });
    longestStall = std::max(longestStall, alphaStall);
    notePeak("sort-alpha");
    std::printf("sort-alpha s %.3f\n", alphaSeconds);

    // Taking the last sort back (its results give way to the ones before), then making
    // it again untimed, so that the commands after it see the same lists.
    const auto [undoSortSeconds, undoSortStall] = timed(meter, session, [&] { window.history().undo(); });
    longestStall = std::max(longestStall, undoSortStall);
    notePeak("undo-sort");
    std::printf("undo-sort s %.3f\n", undoSortSeconds);
    std::printf("results after undo-sort %d\n", session.resultList().count());
    (void)timed(meter, session, [&] { window.history().redo(); });

    // Clear List and taking it back (after the sorts, whose figures stay comparable): the names come back in their own blocks.
    const auto [clearSeconds, clearStall] = timed(meter, session, [&] { click("PushButton1"); });
    const auto [undoSeconds, undoStall] = timed(meter, session, [&] { window.history().undo(); });
    longestStall = std::max({longestStall, clearStall, undoStall});
    std::printf("clear s %.3f\n", clearSeconds);
    std::printf("undo-clear s %.3f\n", undoSeconds);
    std::printf("names after undo %d\n", session.inputList().count());

    const auto [copySeconds, copyStall] = timed(meter, session, [&] { click("PushButton5"); });
    longestStall = std::max(longestStall, copyStall);
    notePeak("copy");
    std::printf("copy s %.3f\n", copySeconds);

    const auto [sheetSeconds, sheetStall] = timed(meter, session, [&] { click("PushButton13"); });
    longestStall = std::max(longestStall, sheetStall);
    notePeak("spreadsheet");
    std::printf("spreadsheet s %.3f\n", sheetSeconds);

    // The figures above are those of the commands the benchmark has always run; the
    // commands below come after them, so that they leave those figures as they were.
    const double peak = peakMiB();

    // The suffix-skipping reading in exact order again, then the same sort with
    // 10,000 Filed-As entries right after it.
    click("Option3");
    window.menus().exactOrder->trigger();
    const auto [suffixAgainSeconds, suffixAgainStall] = timed(meter, session, [&] { click("PushButton17"); });
    longestStall = std::max(longestStall, suffixAgainStall);
    std::printf("sort-suffix again s %.3f\n", suffixAgainSeconds);
    // The same sort with 10,000 Filed-As entries, names of the list spread over it.
    QList<names::FiledAsEntry> entries;
    const int step = std::max(1, names / 10000);
    for (int i = 1; i <= names && entries.size() < 10000; i += step)
        entries.append({session.inputList().item(i), QStringLiteral("Filed %1").arg(i), QString()});
    reading.setFiledAs(entries);
    const auto [filedSeconds, filedStall] = timed(meter, session, [&] { click("PushButton17"); });
    longestStall = std::max(longestStall, filedStall);
    notePeak("sort-filed-as");
    reading.setFiledAs({});
    std::printf("sort-filed-as s %.3f\n", filedSeconds);
    std::printf("sort-filed-as / sort-suffix %.2f\n", filedSeconds / suffixAgainSeconds);

    // Find Likely Duplicates over the whole input list.
    std::size_t groups = 0;
    const auto [duplicateSeconds, duplicateStall] = timed(meter, session, [&] {
        groups = session::findInputDuplicates(session, [&desktop] { desktop.yield(); }).size();
    });
    longestStall = std::max(longestStall, duplicateStall);
    notePeak("likely-duplicates");
    std::printf("likely-duplicates s %.3f\n", duplicateSeconds);
    std::printf("likely-duplicate groups %zu\n", groups);

    // The results as a PDF document of the list layout, beside the results file; a
    // list of more than a million results (some tens of thousands of pages) is not
    // printed, as nobody prints one.
    if (session.resultList().count() <= 1000000) {
        desktop.saveAnswer = QFileInfo(resultsFile).dir().filePath(QStringLiteral("results.pdf"));
        const auto [pdfSeconds, pdfStall] = timed(meter, session, [&] { window.menus().exportResults->trigger(); });
        notePeak("pdf");
        std::printf("pdf s %.3f (%d results, stall ms %.1f)\n", pdfSeconds, session.resultList().count(), pdfStall);
    }

    std::printf("stall ms %.1f\n", longestStall);
    std::printf("stall ms by command: load %.1f clear %.1f undo-clear %.1f sort %.1f save %.1f sort-suffix %.1f "
                "sort-all-choices %.1f sort-alpha %.1f undo-sort %.1f copy %.1f spreadsheet %.1f\n",
                loadStall, clearStall, undoStall, sortStall, saveStall, suffixStall, choicesStall, alphaStall,
                undoSortStall, copyStall, sheetStall);
    std::printf("peak MiB %.1f\n", peak);
    std::printf("peak MiB with sort-filed-as, likely-duplicates and pdf %.1f\n", peakMiB());
    std::printf("peak MiB after each command: %s\n", qPrintable(peaks.join(QLatin1Char(' '))));
    std::printf("resident MiB after each command: %s\n", qPrintable(residents.join(QLatin1Char(' '))));
    std::printf("peak MiB before sort-alpha %.1f\n", peakExact);
    if (names > 0)
        std::printf("bytes/name %.0f\n", peak * 1024.0 * 1024.0 / names);
    return 0;
}
