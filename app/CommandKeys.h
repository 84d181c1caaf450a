// The keys that act once per press, beside the moves and turns that act in every frame they are
// held: pause, full screen and saving the picture. Each reads apart from the others and from the
// moves, so a held move key never hides them.
#pragma once

class KeyInput;

struct Commands {
    bool togglePause = false;
    bool toggleFullScreen = false;
    bool savePicture = false;
};

class CommandKeys {
  public:
    // The commands whose key went down since the previous frame: P, F11 or Alt+Enter, F12.
    Commands read(const KeyInput& keys);

  private:
    bool pauseHeld_ = false;
    bool fullScreenHeld_ = false;
    bool saveHeld_ = false;
};
