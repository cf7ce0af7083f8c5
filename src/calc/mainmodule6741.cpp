#include "calc/mainmodule6741.h"
