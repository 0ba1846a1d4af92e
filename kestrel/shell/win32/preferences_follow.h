// What the image windows and the pictures do when the preferences change;
// the main window's preferences command calls these around the dialog.
#ifndef KESTREL_PREFERENCES_FOLLOW_H
#define KESTREL_PREFERENCES_FOLLOW_H

#include "preferences.h"

// The dialog's anti-alias and instant-brush boxes are tried on the image
// windows' toggles at once; the settings change only on OK.
void TryPreferencesOnImageWindows(TPreferences& dialog);

// After the dialog: the toggles show the settings again (taking back the
// tries on Cancel). After OK also: the level layout of every image window,
// the switches the painting core reads, the current picture's selection
// dropped when cutting makes brushes, the spill files moved to a new undo
// folder, and the undo lists trimmed to the limits.
void FollowPreferencesInPictures(const TPreferencesResult& result);

// Every image window's caption and toggle hints in the current language.
void RetranslateImageWindows();

#endif
