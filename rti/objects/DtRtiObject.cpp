#include "objects/DtRtiObject.h"

DtRtiObject::~DtRtiObject() = default;
