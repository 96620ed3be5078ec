#include "question/ObjectText.h"
