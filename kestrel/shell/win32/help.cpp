#include "help.h"

#include "application.h"
#include "messages.h"
#include "mainform.h"

void SetMainHelpFile() { Application->SetHelpFile(ProgramDir + Translate("HelpFile")); }
