// Pellmora in the browser: the game window on the page's canvas.
#include "web/WebHost.h"

int main() {
  // Lives as long as the page: the loop below suspends and resumes many times.
  static pellmora::WebHost host;
  host.Run();
  return 0;
}
