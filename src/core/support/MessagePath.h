#pragma once

// Messages are Windows-1252 text, like every core string: they join fixed words with record
// names and notes. The files they name have the file system's names (UTF-8 bytes), which read as
// Windows-1252 turn "ä" into "Ã¤". So every path or file name put into a message goes through
// MessagePath, which writes it in the message's encoding:
// - a character Windows-1252 holds becomes its byte ("ä" is 0xE4);
// - any other character becomes a marked code point: kMessageCharacterMark, the code point in
//   upper-case hexadecimal digits and ';' ("α" is "\x81" "3B1;"). The ui shows each as its
//   character (FromMessageText); a message seen as plain Windows-1252 shows the number;
// - bytes that are no UTF-8 are read as Windows-1252 (a name written in Windows-1252 still reads
//   right); an undefined byte among them is marked as its control code.
// Nothing but message texts is made this way: files, the profile and reports keep their bytes.

#include <cstddef>
#include <string>
#include <string_view>

// One of the bytes Windows-1252 leaves undefined, so no Windows-1252 text means it as a letter.
inline constexpr char kMessageCharacterMark = '\x81';

// The path (file system bytes) as message text.
std::string MessagePath(std::string_view path);

// One character (a code point) as message text: its Windows-1252 byte, or marked as above.
std::string MessageCharacter(char32_t character);

// The marked character at text[at] (which holds kMessageCharacterMark): sets character and gives
// the length of the mark with its digits and ';'. 0 when no valid mark starts there (then the
// byte is just Windows-1252's 0x81).
std::size_t ReadMessageCharacter(std::string_view text, std::size_t at, char32_t& character);
