// The character set that text typed under a keyboard layout needs: the
// Cyrillic, Central European, Greek, Turkish and Baltic layouts name their
// code page's set, every other layout the ANSI one.
#ifndef KESTREL_CHARSET_TABLE_H
#define KESTREL_CHARSET_TABLE_H

// layout: a keyboard layout handle's value; only its low 16 bits (the
// language) count.
int CharsetForLayout(unsigned long layout);

#endif
