#pragma once

#include <QString>
#include <QStringView>

namespace orvella::names {

// Under "Learn last names": how a "Last, First" line's key is found again for the same
// words typed first name first, and what it gives such a name.

// The words a key files, as they are typed: the rest of the name (without what was
// stepped over), then what it is filed under. A "Last, First" line and the same name
// typed first name first give the same text.
QString typedForm(QStringView key);

// Where what a key's name stepped over starts (at kSteppedMark), or the key's size.
qsizetype steppedStart(QStringView key);

// A name's key once a "Last, First" line has taught it its last name: the line's last
// name and the rest of the words (`learnt`, without what the line stepped over), then
// what the name itself stepped over, from its own key.
void takeLearntLastName(QString &key, const QString &learnt);

} // namespace orvella::names
