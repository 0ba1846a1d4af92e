#include "userlevel.h"

int Level = LevelNovice;
