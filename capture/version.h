// The capture program's version, written into every capture's header: the package's version,
// which the build takes from the VERSION file.
#ifndef QUILLET_CAPTURE_VERSION_H
#define QUILLET_CAPTURE_VERSION_H

#ifndef QUILLET_VERSION
#error "QUILLET_VERSION must be defined by the build (the text of the VERSION file)"
#endif
#define QUILLET_CAPTURE_VERSION QUILLET_VERSION

#endif
