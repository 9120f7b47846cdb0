// Only for keeping/live_engine.cpp until its include names tools/host/text_escape.h; remove
// this header then.
#ifndef KEVO_TOOLS_HOST_HTML_ESCAPE_H_
#define KEVO_TOOLS_HOST_HTML_ESCAPE_H_

#include "tools/host/text_escape.h"

#endif  // KEVO_TOOLS_HOST_HTML_ESCAPE_H_
