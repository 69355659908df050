#include "driver/Form1.h"
#include "driver/run_stopped.h"

void Form1::errore(const std::string& a) {
  const std::string message = " Errore n. " + a;
  platform_.message_box(message);
  platform_.destroy_window();
  throw driver::run_stopped(message);
}
