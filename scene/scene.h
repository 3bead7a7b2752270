// The built-in scene: draws every face of the table through the current view.
#pragma once

class Scene {
public:
    void drawScene() const;
};
