#include "session/DuplicateSearch.h"

#include "lists/NameListModel.h"
#include "session/OptionSettings.h"
#include "session/Session.h"

namespace orvella::session {

std::vector<names::DuplicateGroup> findInputDuplicates(Session &session, const std::function<void()> &yield)
{
    const OptionSettings &options = session.options();
    const auto designations = options.designations();
    const auto nicknames = options.reading().nicknames();
    const lists::NameListModel &input = session.inputList();
    names::DuplicateSearch search;
    search.count = input.count();
    search.nameAt = [&input](qsizetype i) { return input.itemView(int(i) + 1); };
    search.words = {[&session](QStringView word) { return session.isSuffix(word); },
                    [&options](QStringView word) { return options.isParticle(word); },
                    [&options](QStringView word) { return options.isTitle(word); }, nullptr, designations.get()};
    search.nicknames = nicknames.get();
    search.yield = yield;
    return names::findLikelyDuplicates(search);
}

} // namespace orvella::session
