#pragma once

#include <QString>
#include <QStringView>

namespace orvella::lists {

// What a table's header cell says its column holds, as far as a person's name goes.
enum class HeaderRole { None, WholeName, FirstName, LastName, MiddleName, Suffix, FiledAs };

// The header cell as it is compared with the known header words: case-folded, without
// accents, without spaces, underscores, hyphens, dots and a colon at the end, so that
// "First name", "first_name", "FirstName", "FIRST-NAME" and "Prénom:" read as
// "firstname" and "prenom".
QString headerWord(QStringView cell);

// The role of a header cell, in English and in the main languages of Europe:
// "Name", "Full name", "Vorname", "Surname", "Apellidos", "Middle name", "Suffix"...,
// and the words a name files under: "Sort as", "File as", "Sortiername"...
HeaderRole headerRole(QStringView cell);

// True when the word of a whole name, beside a first-name column of the same language,
// stands for the last name: German "Vorname" and "Name", Dutch "Voornaam" and "Naam".
bool meansLastNameBeside(QStringView wholeNameCell, QStringView firstNameCell);

} // namespace orvella::lists
