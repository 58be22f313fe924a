// The library transform stage: matrices computed with Ormath.
#include "scene/transform.hpp"

#include <GL/gl.h>
#include <ormath/ormath.hpp>

using ormath::mat4;
using ormath::vec3;

void library_projection(int /*width*/, int /*height*/) {
    glMatrixMode(GL_PROJECTION);
    const mat4 projection = ormath::perspective(view::fovy_degrees, view::aspect, view::z_near, view::z_far);
    glLoadMatrixf(projection.data());
}

void library_modelview(float time) {
    // Turn about the quad's centre first, then move it away from the eye.
    const mat4 move = ormath::translate(vec3(0, 0, -view::quad_distance));
    const mat4 turn = ormath::rotate(time * rotation_rate, vec3(0, 0, 1));
    const mat4 modelview = move * turn;
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview.data());
}
