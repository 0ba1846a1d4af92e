// The view's zoom code: one integer, numerator in the low 16 bits, divisor in
// the high 16 bits (0 meaning 1). n screen pixels show m picture pixels.
#ifndef KESTREL_BUFFER_VIEW_ZOOM_H
#define KESTREL_BUFFER_VIEW_ZOOM_H

struct ViewZoom {
    int n;  // screen pixels per block
    int m;  // picture pixels per block
    bool OneToOne() const { return n == 1 && m == 1; }
};

// Reduces the fraction, so codes can be compared: 2/4 becomes 1/2
// (0x20001), 3/1 becomes 3. The divisor's sign is dropped.
unsigned long NormaliseZoom(unsigned long code);

// The factors a code paints with: a numerator of 0 counts as 1.
ViewZoom ZoomFactors(unsigned long code);

#endif
