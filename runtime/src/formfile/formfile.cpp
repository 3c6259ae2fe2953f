#include "forms/formfile.h"
