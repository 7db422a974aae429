#include "update/update_address.h"

#include <cstdlib>

std::string UpdateAddress() {
  const char* overridden = std::getenv(kUpdateUrlVariable);
  return overridden != nullptr && *overridden != '\0' ? overridden : kDefaultUpdateUrl;
}
