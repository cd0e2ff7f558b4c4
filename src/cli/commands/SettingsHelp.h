#pragma once

#include <string_view>

// The --help texts of the settings commands, kept apart from their handlers.

namespace tavisto::cli {

inline constexpr std::string_view kBrightnessHelp = R"(usage: tavisto-cli [OPTIONS] brightness STEP

Sets the brightness: STEP 1 = 20 %, 2 = 40 %, 3 = 60 %, 4 = 100 %.
)";

inline constexpr std::string_view kRestartHelp = R"(usage: tavisto-cli [OPTIONS] restart

Restarts the display, as the window's "Restart Display" does (without a
question).
)";

inline constexpr std::string_view kFactoryResetHelp =
    R"(usage: tavisto-cli [OPTIONS] factory-reset [--yes]

Restores the display's factory settings, as the window's "Reset Display"
does. Asks first ("Are you sure you want to restore factory settings?");
--yes answers Yes. Without --yes and without a terminal to ask on, nothing is
sent and the exit status is 3.
)";

inline constexpr std::string_view kTextColorHelp =
    R"(usage: tavisto-cli [OPTIONS] text-color AREA COLOR

Sets the text colour of an area of the screen. AREA is header, main or footer;
COLOR is six hex digits RRGGBB (FF0000 is red). The display must echo the
command to confirm it.
)";

inline constexpr std::string_view kBackgroundColorHelp =
    R"(usage: tavisto-cli [OPTIONS] background-color AREA COLOR

Sets the background colour of an area of the screen. AREA is header, main or
footer; COLOR is six hex digits RRGGBB. The display must echo the command.
)";

inline constexpr std::string_view kHeaderModeHelp =
    R"(usage: tavisto-cli [OPTIONS] header-mode text|picture

Makes the header show its text or its picture. The display must echo the
command.
)";

inline constexpr std::string_view kMainLinesHelp = R"(usage: tavisto-cli [OPTIONS] main-lines 2|4

Lays the main text area out in two or four lines. The display must answer
with the command within half a second.
)";

inline constexpr std::string_view kMainTextHelp =
    R"(usage: tavisto-cli [OPTIONS] main-text TEXT [--codepage NAME]

Sets the main text (up to four lines of 20 characters, joined). The text is
converted to the code page NAME (default CP437).
)";

inline constexpr std::string_view kWelcome1Help =
    R"(usage: tavisto-cli [OPTIONS] welcome1 TEXT [--codepage NAME]

Sets welcome message line 1 (20 characters on the display). The text is
converted to the code page NAME (default CP437).
)";

inline constexpr std::string_view kWelcome2Help =
    R"(usage: tavisto-cli [OPTIONS] welcome2 TEXT [--codepage NAME]

Sets welcome message line 2 (60 characters on the display). The text is
converted to the code page NAME (default CP437).
)";

inline constexpr std::string_view kScrollHelp = R"(usage: tavisto-cli [OPTIONS] scroll FLAGS

Sets the welcome-line flags (0 to 255, decimal or 0x hex): bit 0 (1) keeps
line 1 still, bit 1 (2) keeps line 2 still; the form also always sets bit 2 (4).
)";

inline constexpr std::string_view kDisplayBaudHelp =
    R"(usage: tavisto-cli [OPTIONS] display-baud CODE

Changes the display's own serial speed: CODE 0 = 9600, 1 = 19200, 2 = 38400,
3 = 57600, 4 = 115200 (the speed itself is accepted too). The display is then
asked for its model at the new speed: the command fails, naming the speed the
display still answers at, when it does not answer there. Later commands must
then use the new speed.
)";

inline constexpr std::string_view kDefaultsHelp = R"(usage: tavisto-cli defaults FILE

Writes the built-in default settings to FILE as a settings file. The name
always ends in .ini (abc and abc.txt both give abc.ini); it needs a file part,
so a folder ("dir/", ".") is refused. No display is needed.
)";

inline constexpr std::string_view kGetSettingsHelp =
    R"(usage: tavisto-cli [OPTIONS] get-settings FILE

Reads the display's settings and saves them to FILE (named .ini, as defaults
does). Settings the display does not report keep their built-in defaults.
)";

inline constexpr std::string_view kApplyHelp = R"(usage: tavisto-cli [OPTIONS] apply FILE

Loads the settings file FILE on top of the built-in defaults and sends it as
All Download does: brightness, header, main text and footer colours and
layout, welcome lines and scrolling, character set and code page (not the
command mode, the baud rate, the main text or the picture play settings).
The file is read before the port is opened. Prints the report; exits with 1
when the file cannot be loaded or any item failed.
)";

} // namespace tavisto::cli
