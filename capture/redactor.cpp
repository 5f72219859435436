#include "redactor.h"

void redact(Capture*)
{
}
