// The five wiring-diagram windows, each with its frame and caption.

#include "Snapshot.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"

namespace {

template <typename TWindow>
QImage RenderWindow() {
  TWindow window;
  return window.RenderImage();
}

}  // namespace

SNAPSHOT_SCREEN("form6.png", RenderWindow<TForm6>);
SNAPSHOT_SCREEN("form2.png", RenderWindow<TForm2>);
SNAPSHOT_SCREEN("form3.png", RenderWindow<TForm3>);
SNAPSHOT_SCREEN("splnedir.png", RenderWindow<Tsplnedir>);
SNAPSHOT_SCREEN("adslbag.png", RenderWindow<TADSlbag>);
