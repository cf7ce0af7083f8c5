#include "calc/calculatorwindow.h"
