#include "names/Nicknames.h"

#include <QRegularExpression>

namespace orvella::names {

namespace {

QStringList englishNicknames()
{
    return {
        "Abby Abigail", "Abe Abraham", "Al Albert", "Alex Alexander", "Alf Alfred", "Andy Andrew", "Drew Andrew",
        "Tony Anthony", "Archie Archibald", "Art Arthur", "Barb Barbara", "Barbie Barbara", "Bart Bartholomew",
        "Ben Benjamin", "Benny Benjamin", "Bernie Bernard", "Bert Herbert", "Bill William", "Billy William",
        "Will William", "Willy William", "Liam William", "Bob Robert", "Bobby Robert", "Rob Robert", "Robbie Robert",
        "Bert Robert", "Brad Bradley", "Cal Calvin", "Cathy Catherine", "Cate Catherine", "Kate Katherine",
        "Katie Katherine", "Kathy Katherine", "Kitty Katherine", "Charlie Charles", "Chuck Charles",
        "Chas Charles", "Chris Christopher", "Kit Christopher", "Christy Christine", "Cindy Cynthia",
        "Cliff Clifford", "Connie Constance", "Dan Daniel", "Danny Daniel", "Dave David", "Davy David",
        "Deb Deborah", "Debbie Deborah", "Debby Deborah", "Dick Richard", "Rick Richard", "Rich Richard",
        "Ricky Richard", "Don Donald", "Donny Donald", "Doug Douglas", "Ed Edward",
        "Eddie Edward", "Ned Edward", "Ted Edward", "Teddy Edward", "Liz Elizabeth", "Lizzie Elizabeth",
        "Beth Elizabeth", "Betty Elizabeth", "Betsy Elizabeth", "Eliza Elizabeth", "Libby Elizabeth",
        "Bess Elizabeth", "Ellie Eleanor", "Nell Eleanor", "Em Emily", "Emmy Emily", "Fred Frederick",
        "Freddie Frederick", "Frank Francis", "Fran Frances", "Frankie Francis", "Gabe Gabriel",
        "Gene Eugene", "Geoff Geoffrey", "Jeff Jeffrey", "Gerry Gerald", "Jerry Gerald", "Greg Gregory",
        "Hal Henry", "Hank Henry", "Harry Henry", "Herb Herbert", "Izzy Isabel", "Isa Isabel", "Jack John",
        "Johnny John", "Jon Jonathan", "Jake Jacob", "Jim James", "Jimmy James", "Jamie James", "Jan Janet",
        "Jen Jennifer", "Jenny Jennifer", "Jess Jessica", "Jessie Jessica", "Joe Joseph", "Joey Joseph",
        "Jo Joanna", "Josh Joshua", "Judy Judith", "Jules Julian", "Ken Kenneth", "Kenny Kenneth",
        "Kim Kimberly", "Larry Lawrence", "Laurie Laura", "Len Leonard", "Lenny Leonard", "Leo Leonard",
        "Les Leslie", "Lou Louis", "Louie Louis", "Lucy Lucille", "Maggie Margaret", "Meg Margaret",
        "Peggy Margaret", "Marge Margaret", "Margie Margaret", "Madge Margaret", "Greta Margaret",
        "Mandy Amanda", "Manny Emmanuel", "Matt Matthew", "Max Maximilian", "Mel Melvin", "Mike Michael",
        "Mick Michael", "Mickey Michael", "Molly Mary", "Polly Mary", "Mamie Mary", "Nan Nancy",
        "Nate Nathan", "Nat Nathaniel", "Nick Nicholas", "Nicky Nicholas", "Nikki Nicole", "Ollie Oliver",
        "Pam Pamela", "Pat Patrick", "Paddy Patrick", "Patty Patricia", "Patsy Patricia", "Trish Patricia",
        "Pete Peter", "Phil Phillip", "Ray Raymond", "Reg Reginald", "Reggie Reginald", "Ron Ronald",
        "Ronnie Ronald", "Rosie Rose", "Russ Russell", "Sal Salvatore", "Sally Sarah", "Sam Samuel",
        "Sammy Samuel", "Sandy Sandra", "Steve Stephen", "Stevie Stephen", "Stu Stuart", "Sue Susan",
        "Susie Susan", "Suzy Susan", "Terry Terence", "Tim Timothy", "Timmy Timothy", "Tom Thomas",
        "Tommy Thomas", "Val Valerie", "Vic Victor", "Vicky Victoria", "Tori Victoria", "Vince Vincent",
        "Walt Walter", "Wally Walter", "Wes Wesley", "Zach Zachary", "Zack Zachary", "Becky Rebecca",
        "Becca Rebecca", "Bella Isabella", "Gina Regina", "Ginny Virginia", "Ginger Virginia", "Dot Dorothy",
        "Dottie Dorothy", "Dolly Dorothy", "Gus Augustus", "Hattie Harriet", "Fanny Frances",
        "Ernie Ernest", "Monty Montgomery", "Norm Norman", "Ozzie Oswald", "Percy Percival",
        "Randy Randall", "Sid Sidney", "Stan Stanley", "Theo Theodore", "Toby Tobias", "Wendy Gwendolyn",
        "Winnie Winifred", "Allie Allison", "Abbie Abigail", "Alec Alexander", "Sandy Alexander",
        "Lexi Alexandra", "Sasha Alexander", "Annie Ann",
    };
}

} // namespace

QStringList defaultNicknames()
{
    // English, then German, Dutch and the Nordic languages.
    QStringList pairs = englishNicknames();
    pairs << QStringList{
        "Hans Johannes", "Hannes Johannes", "Jo Johannes", "Sepp Josef", "Seppl Josef", "Franz Franziskus",
        "Fritz Friedrich", "Friedel Friedrich", "Heinz Heinrich", "Hein Heinrich", "Kurt Konrad",
        "Kuno Konrad", "Willi Wilhelm", "Wim Willem", "Klaus Nikolaus", "Claus Nikolaus", "Gretel Margarete",
        "Grete Margarete", "Lisa Elisabeth", "Liesel Elisabeth", "Lies Elisabeth", "Else Elisabeth",
        "Uli Ulrich", "Bernd Bernhard", "Gerd Gerhard", "Jupp Josef", "Toni Anton", "Resi Theresia",
        "Kathi Katharina", "Käthe Katharina", "Leni Magdalena", "Lene Magdalena", "Hanne Johanna",
        "Jan Johannes", "Joop Johannes", "Henk Hendrik", "Kees Cornelis", "Piet Pieter", "Klaas Nicolaas",
        "Truus Geertruida", "Annelies Anna", "Sjaak Jacobus", "Koos Jacobus", "Bram Abraham",
        "Lasse Lars", "Nils Nikolaus", "Kalle Karl", "Stina Kristina",
    };
    // Spanish and Portuguese.
    pairs << QStringList{
        "Pepe José", "Chema José María", "Paco Francisco", "Pancho Francisco", "Curro Francisco",
        "Quico Francisco", "Kiko Francisco", "Nacho Ignacio", "Lola Dolores", "Loli Dolores", "Pili Pilar",
        "Charo Rosario", "Concha Concepción", "Conchita Concepción", "Chelo Consuelo", "Lupe Guadalupe",
        "Lupita Guadalupe", "Maite María Teresa", "Marisa María Luisa", "Maribel María Isabel",
        "Mariló María Dolores", "Toño Antonio", "Toni Antonio", "Manolo Manuel", "Lolo Manuel",
        "Chucho Jesús", "Chus Jesús", "Chuy Jesús", "Beto Alberto", "Tito Alberto", "Rafa Rafael",
        "Fito Adolfo", "Memo Guillermo", "Lalo Eduardo", "Kike Enrique", "Quique Enrique", "Santi Santiago",
        "Juanjo Juan José", "Juanma Juan Manuel", "Fer Fernando", "Nando Fernando", "Álex Alejandro",
        "Alejo Alejandro", "Sole Soledad", "Merche Mercedes", "Nieves María de las Nieves", "Inma Inmaculada",
        "Pedrito Pedro", "Juanito Juan", "Zé José", "Chico Francisco", "Quim Joaquim",
        "Guto Augusto", "Tião Sebastião", "Bia Beatriz", "Duda Eduarda", "Lu Luísa", "Fafá Fátima",
    };
    // French and Italian.
    pairs << QStringList{
        "Jeannot Jean", "Pierrot Pierre", "Dédé André", "Manu Emmanuel", "Fanfan Françoise", "Zaza Isabelle",
        "Babette Élisabeth", "Mimi Michèle", "Jojo Joseph", "Toinette Antoinette", "Margot Marguerite",
        "Nico Nicolas", "Fifi Josephine", "Gigi Ginette", "Beppe Giuseppe", "Peppe Giuseppe",
        "Pino Giuseppe", "Gianni Giovanni", "Nanni Giovanni", "Vanni Giovanni", "Cecco Francesco",
        "Checco Francesco", "Ciccio Francesco", "Franco Francesco", "Nino Antonio", "Totò Salvatore",
        "Turi Salvatore", "Gigi Luigi", "Gino Luigi", "Bice Beatrice", "Pina Giuseppina", "Lella Gabriella",
        "Tina Caterina", "Ricky Riccardo", "Sandro Alessandro", "Ale Alessandro", "Lisa Elisabetta",
        "Mimmo Domenico", "Memmo Domenico", "Tonio Antonio", "Enzo Vincenzo", "Cenzo Vincenzo",
    };
    return pairs;
}

QString foldName(QStringView text)
{
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toString().toLower();
    // Decomposed, an accented letter is its plain letter and a mark to drop.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D).toCaseFolded();
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c);
    }
    return folded;
}

NicknameSet::NicknameSet(const QStringList &lines)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &given : lines) {
        const QString line = given.simplified();
        const qsizetype cut = line.indexOf(QLatin1Char(' '));
        if (cut <= 0 || m_entries.contains(line, Qt::CaseInsensitive))
            continue;
        m_entries << line;
        // The full name may be two words ("José María"): it is the rest of the line.
        const QString nickname = foldName(line.left(cut));
        const QString full = foldName(line.mid(cut + 1)).split(space).front();
        if (nickname != full && !m_full.contains(nickname))
            m_full.insert(nickname, full);
    }
}

} // namespace orvella::names
