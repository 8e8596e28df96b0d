#pragma once

#include <cstdio>

#include "platform/clock.h"
#include "platform/directory.h"
#include "platform/text_files.h"

namespace fof1plot {

// Checks gralvo.ini in the current directory and what a run needs, for the user running
// the check: the settings lines, each directory and its permissions, the forecasts of
// the six days' months and of next month, the station file and today's samples, the
// time zone, the lock, and the metrics file's directory when one is named. Prints one line per
// check on `uscita`, starting "ok: ", "warning: " or "error: ", with what to do after a warning or
// an error; the first says whether the check runs in a systemd service, whose sandbox it then sees,
// or outside any. Writes no file. 0 when a run would succeed (warnings allowed), 1 otherwise.
int verifica_impostazioni(TextFiles& files, Directory& directory, Clock& clock, bool in_servizio,
                          const std::string& metriche, std::FILE* uscita);

}  // namespace fof1plot
