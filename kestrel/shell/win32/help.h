// The connection to the help file. Every help call of the program goes
// through Application->HelpCommand, which a test replaces (HelpHook): the
// system's help blocks for a long time when the file is missing.
#ifndef KESTREL_HELP_H
#define KESTREL_HELP_H

// The help file is the program's folder and the language's "HelpFile";
// called once the language is loaded.
void SetMainHelpFile();

#endif
