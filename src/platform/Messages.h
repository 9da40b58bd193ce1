#pragma once
// The game's one-line messages on stderr. Whatever a user typed or put in a file may turn up in
// them (an option, a file name, a word of an input script); its bytes are shown escaped when they
// are not printable, so a message stays one readable line and cannot drive the terminal.

#include <string>
#include <string_view>

// Printable ASCII and well-formed UTF-8 stay; any other byte (controls, DEL, stray or overlong
// UTF-8, C1 controls) becomes \n, \t, \\ or \xHH. A backslash is doubled so that the escapes
// cannot be mistaken for the text.
std::string printable(std::string_view text);

// A word from a user's file or command line as a message shows it: in quotes, a long one cut.
// Its bytes stay as they are; printable() escapes them where the message is said.
std::string quoted(std::string_view word);

// "boltfever: " and the text made printable, on one line of stderr.
void reportLine(std::string_view text);
