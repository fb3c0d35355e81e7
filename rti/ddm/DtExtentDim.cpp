#include "ddm/DtExtentDim.h"

const DtExtentDim DtExtentDim::theDefault;
