// The user level setting: option-bar items above it stay hidden.
#ifndef KESTREL_USERLEVEL_H
#define KESTREL_USERLEVEL_H

enum : int { LevelNovice = 0, LevelExpert = 1 };
extern int Level;

#endif
