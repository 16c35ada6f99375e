// Placeholder class of the library's icon family: it has no state yet, but
// programs that load the library by name may already create and dispose it.
#pragma once

#include "PictavoApi.h"

class PICTAVO_API CIcon {
public:
    CIcon();
    ~CIcon();
};
