#include "lists/ColumnHeaders.h"

#include <QHash>

namespace orvella::lists {
namespace {

struct KnownWords {
    HeaderRole role;
    const char16_t *words[18];
};

// Written as people write them; headerWord() makes them comparable.
const KnownWords kKnownWords[] = {
    {HeaderRole::WholeName,
     {u"Name", u"Full name", u"Person", u"Display name", u"Nom complet", u"Nombre completo", u"Nome completo",
      u"Vollständiger Name", u"Naam", u"Namn"}},
    {HeaderRole::FirstName,
     {u"First name", u"Given name", u"Forename", u"First", u"Given", u"Vorname", u"Prénom", u"Nombre", u"Nome",
      u"Voornaam", u"Förnamn", u"Fornavn", u"Etunimi"}},
    {HeaderRole::LastName,
     {u"Last name", u"Surname", u"Family name", u"Last", u"Nachname", u"Familienname", u"Nom", u"Nom de famille",
      u"Apellido", u"Apellidos", u"Cognome", u"Sobrenome", u"Achternaam", u"Efternamn", u"Etternavn",
      u"Sukunimi"}},
    {HeaderRole::MiddleName, {u"Middle name", u"Middle", u"Second name", u"Zweiter Vorname"}},
    {HeaderRole::Suffix, {u"Suffix", u"Name suffix", u"Generation"}},
    {HeaderRole::FiledAs,
     {u"Sort as", u"File as", u"Filed as", u"Sort name", u"Sort key", u"Sorting name", u"Name for sorting",
      u"Author sort", u"Sortiername", u"Sortiert als", u"Sortierung", u"Trier comme", u"Nom de tri",
      u"Ordenar como", u"Ordinamento", u"Sorteernaam", u"Sorteringsnamn"}},
};

const QHash<QString, HeaderRole> &rolesByWord()
{
    static const QHash<QString, HeaderRole> roles = [] {
        QHash<QString, HeaderRole> byWord;
        for (const KnownWords &known : kKnownWords) {
            for (const char16_t *word : known.words) {
                if (word)
                    byWord.insert(headerWord(QStringView(word)), known.role);
            }
        }
        return byWord;
    }();
    return roles;
}

bool isLeftOut(QChar c)
{
    return c.isSpace() || c == u'_' || c == u'-' || c == u'.';
}

} // namespace

QString headerWord(QStringView cell)
{
    QStringView text = cell.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    // Decomposed, an accented letter is its plain letter and a combining mark to drop.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D).toCaseFolded();
    QString word;
    word.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!isLeftOut(c) && c.category() != QChar::Mark_NonSpacing)
            word.append(c);
    }
    return word;
}

HeaderRole headerRole(QStringView cell)
{
    return rolesByWord().value(headerWord(cell), HeaderRole::None);
}

bool meansLastNameBeside(QStringView wholeNameCell, QStringView firstNameCell)
{
    const QString whole = headerWord(wholeNameCell);
    const QString first = headerWord(firstNameCell);
    return (whole == u"name" && first == u"vorname") || (whole == u"naam" && first == u"voornaam");
}

} // namespace orvella::lists
