#include "calc/mainmodule6741otkid.h"
