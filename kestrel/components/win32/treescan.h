// TTreeScanner (unit TreeScan): the tree walk of TCustomTreeScanner over the
// Win32 file system.
#ifndef KESTREL_TREESCAN_H
#define KESTREL_TREESCAN_H

#include "treescan_model.h"

class TTreeScanner : public TCustomTreeScanner {
public:
    explicit TTreeScanner(TComponent* AOwner);

protected:
    void ListEntries(const AnsiString& Pattern, std::vector<TScanEntry>& Entries) override;
    AnsiString CurrentDirectory() override;
    void ProcessMessages() override;
};

#endif
