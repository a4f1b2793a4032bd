#pragma once

#include <cstdint>

namespace pelorin {

/// The commands of the main window, by the ids its menu, strip and buttons use.
enum CommandId : uint32_t {
    kCmdOk = 1005,              ///< check the answer
    kCmdClear = 1007,           ///< clear the selected entry
    kCmdGiveUp = 1008,          ///< give up the selected entry
    kCmdRevealAll = 1012,       ///< the strip's Finish
    kCmdClearAll = 1013,        ///< the strip's Reset
    kCmdStyle = 1015,           ///< the strip's Style
    kCmdNew = 32771,            ///< Game, New
    kCmdOpen = 32772,           ///< Game, Open...
    kCmdSave = 32773,           ///< Game, Save
    kCmdSaveAs = 32774,         ///< Game, Save As...
    kCmdExit = 32775,           ///< Game, Exit
    kCmdStyleEditor = 32776,    ///< Tools, Style Editor
    kCmdHelpContents = 32777,   ///< Help, Contents
    kCmdAbout = 32778,          ///< Help, About
    kCmdTutorial = 32782,       ///< Help, Tutorial
    kCmdExportPdf = 32790,      ///< Game, Export PDF...
    kCmdDailyPuzzle = 32791,    ///< Game, Puzzle of the Day
    kCmdPuzzleCode = 32792,     ///< Game, Puzzle Code...
    kCmdCheckEntry = 32793,     ///< Edit, Check Entry
    kCmdCheckPuzzle = 32794,    ///< Edit, Check Puzzle
    kCmdRevealLetter = 32795,   ///< Edit, Reveal Letter
};

} // namespace pelorin
