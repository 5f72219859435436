// The capture program's version, written into every capture's header.
#ifndef QUILLET_CAPTURE_VERSION_H
#define QUILLET_CAPTURE_VERSION_H

#define QUILLET_CAPTURE_VERSION "1.0"

#endif
