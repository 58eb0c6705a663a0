#include "lists/NameListModel.h"
#include "sorting/KeySort.h"
#include "sorting/SortCommand.h"
#include "sorting/SortKeys.h"
#include "support/Controls.h"
#include "support/Fixtures.h"

#include <QHash>
#include <QRadioButton>
#include <QRandomGenerator>
#include <gtest/gtest.h>

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
            if (sorting::compareKeys(keys[i], keys[i + 1]) > 0) {
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
    f.window->inputList().appendMany(names);

    f.window->sortCommand().PushButton17_Click();
    ASSERT_EQ(f.window->resultList().count(), 1000000);
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
    MainWindowFixture::processEvents();

    QHash<QString, int> position;
    const QList<QString> &results = f.window->resultList().items();
    for (int i = 0; i < results.size(); ++i)
        position.insert(results[i], i);
    ASSERT_EQ(position.size(), 1000000) << "every name appears once";

    QRandomGenerator random(7);
    std::vector<QString> sample;
    for (int i = 0; i < 1500; ++i)
        sample.push_back(f.window->sortCommand().GetNames(names[random.bounded(names.size())]));
    exchangeSort(sample);
    int previous = -1;
    for (const QString &key : sample) {
        const int at = position.value(f.window->sortCommand().RevealNames(key), -1);
        ASSERT_GE(at, previous) << key.toStdString();
        previous = at;
    }
}

} // namespace
