// TDriveComboBox: a drop-down list of the machine's drives ("C:", ...),
// upper-case, one of them selected.
#ifndef KESTREL_DRIVECOMBO_H
#define KESTREL_DRIVECOMBO_H

#include "stdctrls.h"

class TDriveComboBox : public TComboBox {
public:
    explicit TDriveComboBox(TComponent* AOwner);

    // Lists the drives again (the constructor lists them once).
    void BuildList();
    // The selected drive's letter, 0 with none.
    char GetDrive();
    // Selects the drive (any case); a letter not listed selects nothing.
    void SetDrive(char Value);
};

#endif
