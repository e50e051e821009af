#include "chrome/FormShadow.h"
