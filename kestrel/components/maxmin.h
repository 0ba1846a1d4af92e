// The larger and the smaller of two integers, as the controls' layout code
// calls them (kept as functions so that no macro of the same name can bite).
#ifndef KESTREL_MAXMIN_H
#define KESTREL_MAXMIN_H

inline int Max(int A, int B) { return A > B ? A : B; }
inline int Min(int A, int B) { return A < B ? A : B; }

#endif
