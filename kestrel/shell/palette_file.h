// Palette files: a text of the cell count in decimal, then one line per
// colour 0x00RRGGBB as six upper-case hexadecimal digits. The program
// writes CRLF line ends, as text files on its system have them, and reads
// any white space between the values.
#ifndef KESTREL_PALETTE_FILE_H
#define KESTREL_PALETTE_FILE_H

#include <string>
#include <vector>

// The file's text for these colours.
std::string FormatPaletteFile(const std::vector<unsigned long>& colours);

struct PaletteFileText {
    int count = 0;  // as written, held within the int range; the bar rounds it
    // The colours read in order up to the first that is not a number (at
    // most maxColours), flag bits dropped: a short file sets fewer cells.
    std::vector<unsigned long> colours;
};

// False when the text does not begin with a count.
bool ParsePaletteFile(const std::string& text, int maxColours, PaletteFileText& palette);

#endif
