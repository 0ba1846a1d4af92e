// A filter component's parameters: the declarations "Par1=" .. "Par10=" of
// its descriptor, and the value block that carries their values to it. The
// block's packing is a contract with separately built components: values in
// parameter order, no padding, hidden parameters included.
#ifndef KESTREL_COMPONENT_PARAMS_H
#define KESTREL_COMPONENT_PARAMS_H

#include "component_abi.h"

#include <string>
#include <vector>

enum ComponentParamKind {
    CPK_INT = 1, CPK_FLOAT, CPK_BUTTON, CPK_CHECK, CPK_SCROLL, CPK_LIST, CPK_COLOUR, CPK_POINT, CPK_PICTURE
};

enum { COMPONENT_PARAMS = 10, COMPONENT_VALUE_BLOCK = 80 };

struct ComponentParam {
    int kind = 0;
    // The n of its "Par<n>=" line: components and their UM_COMPSETPARAM and
    // button messages call a parameter by it, gaps of declarations that
    // create nothing included.
    int number = 0;
    int level = 0;           // the user level digit; 0 when none was given
    std::string name;
    int minimum = 0, maximum = 0;
    int value = 0;           // the default of every kind but F; P: x low word, y high word
    int decimals = 0;        // F only
    double increment = 0, realMinimum = 0, realMaximum = 0, realValue = 0;
    std::vector<std::string> items;  // L only
};

// False when the declaration creates no parameter (too short, unknown kind,
// values that do not parse, list names running off the text).
bool ParseComponentParam(const std::string& declaration, ComponentParam& param);

int ComponentParamRowHeight(int kind);
int ComponentParamBytes(int kind);

// Hidden parameters keep their place in the value block.
bool ComponentParamHidden(const ComponentParam& param, int userLevel);

// Writes the parameters' defaults packed into block (80 bytes, the rest
// zero) and returns the bytes used.
int PackComponentDefaults(const std::vector<ComponentParam>& params, unsigned char* block);

// Where parameter index's value starts in the block.
int ComponentValueOffset(const std::vector<ComponentParam>& params, int index);

// Point parameters travel as fractions 0..65535 of extent - 1; an extent of
// one pixel gives fraction 0 rather than a division by zero.
int PixelToFraction(int pixel, int extent);
int FractionToPixelRounded(int fraction, int extent);
int FractionToPixelTruncated(int fraction, int extent);

// A press at pixel (x, y) of a picture (origin 0) or of the instant-preview
// thumbnail (origin 1) of the given size.
ComponentPointerRecord MakeComponentPointer(int x, int y, int width, int height, bool rightButton, int origin);

// The parameters "Par1=" .. "Par10=" of a descriptor declare, in that order;
// declarations that create nothing leave no gap.
std::vector<ComponentParam> ParseComponentParams(const std::string& descriptor);

// The index in params of the parameter the component calls number; -1
// when that declaration created none.
int ComponentParamIndex(const std::vector<ComponentParam>& params, int number);

#endif
