// The URL recorder's meta object comes from the build's moc step for its header.
#include "ui/support/UrlRecorder.h"
