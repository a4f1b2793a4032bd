#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelorin {

/// The four per-user settings of the program (RootDir, LastBlockId, LastStyleId,
/// FirstCall), kept in the user's INI file Tarnwick/Zanth.ini under the
/// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
///
/// Every operation opens the file, does its one read or write and closes it again,
/// so nothing stays open between operations and a failure touches only that one.
/// Failures are silent: reads behave as for an absent value, writes are dropped.
///
/// The file is a plain INI file that a person can edit:
///
///     [General]
///     RootDir=/data/My Games, Volume 2/pelorin
///     LastBlockId=dword:00000002
///
/// - A value is the rest of its line after "=", without the blanks around it;
///   commas, semicolons and backslashes in it are kept as they are, so RootDir can
///   be written by hand as the path it is.
/// - A value in double quotes keeps blanks at its ends; inside the quotes \" is a
///   quote, \\ a backslash, and \n, \r, \t a line break, a carriage return and a
///   tab. The program quotes a string only when it needs that.
/// - A number is stored as `dword:` and exactly eight hex digits, so that a number
///   is told from a string by its prefix alone and every number has one
///   fixed-width form that reads back exactly.
///
/// Reads ignore the stored type, so that a value edited by hand into the other
/// form still reads predictably, by these absent-value rules:
/// - ReadString gives the stored text as it is; a text of more than 255 UTF-16
///   units does not fit the read buffer and reads as absent.
/// - ReadDword of a number gives the number. A value of any other form is a string
///   whose stored size is (UTF-16 units + 1) * 2 bytes; only one of at most 4 bytes
///   fits a number, and it reads as its bytes taken little-endian: the empty text
///   reads as 0, a one-unit text as that unit ("1" reads as 49), a longer text as 0.
class Settings {
public:
    static constexpr int32_t kMaxStringUnits = 255;

    /// Replaces `destination` with the value and returns true; leaves it as it was
    /// and returns false when the value is absent, unreadable or too long.
    bool ReadString(std::string_view name, std::string& destination) const;
    /// Stores a string value; false when the file could not be written.
    bool WriteString(std::string_view name, std::string_view text) const;
    /// The value as a signed 32-bit number; 0 when absent or unreadable.
    int32_t ReadDword(std::string_view name) const;
    /// Stores a number value; false when the file could not be written.
    bool WriteDword(std::string_view name, int32_t value) const;
};

/// The first-run check: true, after recording "1" under FirstCall, when FirstCall
/// was absent; false when it is present, whatever it holds (even empty).
bool CheckFirstRun();

} // namespace pelorin
