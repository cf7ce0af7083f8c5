#include "calc/mainmodule6742.h"
