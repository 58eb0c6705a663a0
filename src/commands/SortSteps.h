#pragma once

namespace orvella::commands {

// The numbered steps of "Start Sorting" (Form1.PushButton17_Click). A step that fails is
// reported under its number and the run goes on with the next step (core::Procedure).
namespace SortStep {
enum : int {
    CheckNamesGiven = 100,     // is the input list empty?
    ClearResults = 102,
    ShowBusyPointer = 104,
    ClearKeys = 106,
    ClearDuplicates = 108,
    StartKeyWorker = 109,      // a script's run reads most keys on a worker
    CountNames = 110,
    LearnLastNames = 111,
    // For each name, in input order.
    TakeName = 112,
    ShowProgress = 114,
    ShowProgressText = 116,
    YieldWhileReading = 118,
    KeepBusyPointer = 120,
    AskRemoveDuplicates = 122,
    CheckDuplicate = 124,
    NoteName = 126,
    AddFirstOfEqualNames = 128,
    KeyFirstOfEqualNames = 130,
    AddName = 132,
    KeyName = 134,
    // After the names.
    JoinWorkerKeys = 136,
    OrderKeys = 138,
    GroupKeys = 139,           // the sorted keys put group after group
    ClearResultsToShow = 140,
    AskKeepUnique = 142,
    AskKeepLimited = 146,
    ReserveRowNotes = 150,
    // For each key, in sorted order.
    YieldWhileShowing = 152,
    TakeHead = 154,
    TestKeepUnique = 156,
    CheckHeadSeen = 158,
    ShowFirstOfHead = 160,
    NoteHeadSeen = 162,
    TestKeepLimited = 164,
    ForgetGroup = 166,
    FindGroup = 168,
    TestGroupFound = 178,
    TestUnderLimit = 180,
    JoinGroup = 182,
    ShowGroupMember = 184,
    CreateGroup = 186,
    JoinNewGroup = 188,
    NameNewGroup = 190,
    ShowNewGroupMember = 192,
    AddNewGroup = 194,
    ShowName = 196,            // also: a script's run hands every name over at once
    // After the keys.
    KeepRowNotes = 198,
    RestorePointer = 200,
    ClearProgress = 202,
    ClearProgressText = 204,
    TellDone = 206,
    TellNoNames = 208,
};
} // namespace SortStep

// The one step of Form1.GetNames (a name's key) and of Form1.RevealNames (a key's name).
namespace GetNamesStep {
enum : int { BuildKey = 124 };
} // namespace GetNamesStep
namespace RevealNamesStep {
enum : int { RevealName = 100 };
} // namespace RevealNamesStep

} // namespace orvella::commands
