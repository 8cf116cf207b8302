#include "core/windowlogic/ProjectLinks.h"

const char *const kProjectHomePage = TOLLWISE_HOME_PAGE;
const char *const kProjectSupportMail = TOLLWISE_SUPPORT_MAIL;
