#include "shell/shell_services.h"

namespace workmemo {

ShellServices& Services() {
  static ShellServices services;
  return services;
}

}  // namespace workmemo
