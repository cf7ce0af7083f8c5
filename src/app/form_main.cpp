#include "app/form_main.h"
