#pragma once

// Where a mesh is drawn, as the steps from the eye to the mesh's own frame: the camera, a
// stage's fly-in, the field's tilt, a ball's place. A renderer applies them in order, each
// to the frame the steps before it made.
struct PlaceStep {
    enum class Kind { Move, Turn };
    Kind kind;
    float degrees; // of a turn, right-handed about (x, y, z)
    float x;
    float y;
    float z;
};

struct Placement {
    // As many as the deepest drawing takes: the camera, the fly-in's three, the tilt's two, and
    // a ball's shift to its pose and its place.
    static constexpr int MaxSteps = 8;
    PlaceStep steps[MaxSteps];
    int count = 0;

    // Both add a step; one past MaxSteps is left out.
    void move(float x, float y, float z) { add({PlaceStep::Kind::Move, 0.0f, x, y, z}); }
    void turn(float degrees, float x, float y, float z) {
        add({PlaceStep::Kind::Turn, degrees, x, y, z});
    }

  private:
    void add(const PlaceStep& step) {
        if (count < MaxSteps) {
            steps[count++] = step;
        }
    }
};
