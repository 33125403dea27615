#include "QtProgram.h"

#include <memory>

#include "MyForm.h"
#include "Program.h"
#include "TerminationSignals.h"
#include "WaylandSession.h"

int RunQtProgram(const std::function<void(TMyForm&)>& shown)
{
    TerminationSignals stopRequests;
    const int status = RunProgram([] { return std::make_unique<TMyForm>(); },
                                  [&shown](MainForm& form) {
                                      if (shown) shown(static_cast<TMyForm&>(form));
                                  });
    EndWaylandRun(status);
    return status;
}
