#pragma once

namespace orvella::core {
class FileOutput;
} // namespace orvella::core
namespace orvella::session {
class Session;
} // namespace orvella::session

namespace orvella::cli {

// "--likely-duplicates": the groups of the input's names that are probably one person,
// one name a line: the group's number, its reason, the name and its place in the input
// (counted from 1), TAB between; lines end with LF, or CR LF when crlf. Throws a
// Failure when the output cannot be written.
void writeLikelyDuplicates(session::Session &session, core::FileOutput &out, bool crlf);

} // namespace orvella::cli
