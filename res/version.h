// Kestrel's version, written once: the .rc's version block and release.sh read it.
#pragma once

#define KESTREL_VERSION 1, 0, 0, 3
