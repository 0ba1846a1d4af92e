// A component changing one of its own parameters while it runs
// (UM_COMPSETPARAM): the value and limit sub-commands on the parameter's
// model. The component's numbers are not trusted: values are held within
// the parameter's limits as its control holds typed values, and list items
// or picture numbers that do not exist are ignored.
#ifndef KESTREL_COMPONENT_SETPARAM_H
#define KESTREL_COMPONENT_SETPARAM_H

#include "component_params.h"

enum ComponentSetParamCommand {
    CSP_VALUE = 0, CSP_CAPTION, CSP_MINIMUM, CSP_MAXIMUM, CSP_INCREMENT, CSP_DECIMALS
};

// value is lParam; real the double lParam points at, for F. value points
// at the parameter's slot in the value block. Answers whether the slot
// changed (the caller then sends the values as a user change would). Point
// and caption sub-commands belong to the dialog and change nothing here.
bool SetComponentParam(ComponentParam& param, unsigned char* slot, int command, int value, double real,
                       int pictureCount);

#endif
