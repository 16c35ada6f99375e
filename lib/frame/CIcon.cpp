#include "frame/CIcon.h"

CIcon::CIcon() {}

CIcon::~CIcon() {}
