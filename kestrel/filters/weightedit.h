// The rules of the custom filter's weight edits: what typing may leave in
// them, how leaving one tidies it, and the weight it stands for.
#ifndef KESTREL_WEIGHTEDIT_H
#define KESTREL_WEIGHTEDIT_H

#include <string>

// Removes every character that is neither a digit nor a sign in the first
// position. caret (0-based, before the call) moves back by the characters
// removed before it.
std::string FilterWeightText(const std::string& text, int& caret);
// Empty, "+" and "-" alone become empty; a number is clamped to -999..999
// and 0 shows as empty.
std::string NormaliseWeightText(const std::string& text);
// The weight an edit shows: empty is 0; clamped to -999..999.
int WeightOfText(const std::string& text);
// The text an edit shows for a weight: 0 is empty.
std::string WeightText(int weight);

#endif
