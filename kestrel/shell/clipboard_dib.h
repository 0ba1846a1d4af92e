// Where the parts of a clipboard bitmap lie. A CF_DIB block is the info
// header, the colour masks or table, then the pixel rows; every size in it
// comes from another program and is checked against the block before the
// decoder is handed a byte.
#ifndef KESTREL_SHELL_CLIPBOARD_DIB_H
#define KESTREL_SHELL_CLIPBOARD_DIB_H

struct ClipboardDibLayout {
    int infoBytes;  // header, masks and colour table: what the decoder's info holds
    int bitsBytes;  // pixel rows, cut off at the end of the block
};

// False (layout untouched) when the block cannot be a bitmap: shorter than
// a header, a header or table running past the block, no width or height,
// or nothing left for the pixels.
bool MeasureClipboardDib(const unsigned char* block, int blockSize, ClipboardDibLayout& layout);

#endif
