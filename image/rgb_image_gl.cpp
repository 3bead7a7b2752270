// The image's one GL site: its upload as the level-0 picture of a fixed texture name.
#include <GL/gl.h>

#include "image/rgb_image.h"

void RgbImage::uploadTexture(unsigned textureName) const {
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    // Rows of 3 * cols bytes end on a 4-byte boundary only when cols is a multiple of 4;
    // otherwise GL's default alignment would skew the picture and read past the array.
    const bool rowsArePacked = (3 * static_cast<long>(cols)) % 4 == 0;
    if (!rowsArePacked) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, cols, rows, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.get());
    if (!rowsArePacked) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
}
