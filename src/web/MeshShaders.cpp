#include "web/MeshShaders.h"

#include "web/Lighting.h"

namespace {

// u.x * v.y - u.y * v.x, with the right sign for whole numbers under 2^15
// (128 pixels in 1/256 pixel) at highp: v is split into whole pixels and the
// rest, which makes every partial product and each difference of two exact,
// and the last sum, rounded, keeps its sign. A dart, the largest shape, is
// 30 of the game's pixels tall, so a field of up to 2,560 device pixels
// across is exact. Both shaders decide coverage with it, and begin with it.
constexpr const char* Cross2 = R"(float cross2(vec2 u, vec2 v) {
    vec2 high = floor(v / 256.0) * 256.0;
    vec2 low = v - high;
    return (u.x * high.y - u.y * high.x) + (u.x * low.y - u.y * low.x);
}
)";

// Every corner gets the whole triangle in window coordinates (device pixels)
// and moves out along its two edges, in the triangle's plane, until both
// edges have moved Growth: the GPU snaps corners to 1/16 pixel, so the grown
// triangle reaches every pixel that the exact one covers, and the fragment
// shader keeps just those, given the exact corners counter-clockwise as Mesa
// turns them. A triangle of no area collapses to a point, as Mesa drops it.
// The lit colour goes out as it is: the GPU stores the nearest 8-bit value.
// Software GPUs run both sides of every branch, so there are none: a program
// is made for a number of lights (LIGHTS, defined in front of the source),
// and its loop over them has a constant count, which compilers unroll. The
// lights' limit and the default material come from Lighting.h the same way.
constexpr const char* VertexShader = R"(
attribute vec3 cornerA;
attribute vec3 cornerB;
attribute vec3 cornerC;
attribute float which;
attribute vec3 normal;
attribute vec3 color;
attribute vec3 provokingNormal;
attribute vec3 provokingColor;
uniform mat4 modelView;
uniform mat4 modelViewProjection;
uniform mat3 normals;
uniform bool colorMaterial;
uniform bool flatShading;
uniform vec4 sceneAmbient;
uniform vec4 lightPosition[MAX_LIGHTS];
uniform vec4 lightDiffuse[MAX_LIGHTS];
uniform vec2 viewportScale;
uniform vec2 viewportCentre;
varying vec3 shade;
varying vec4 exactAB;
varying vec2 exactC;
const float Growth = 0.0625;
const float MaxGrowth = 8.0;

// One light's diffuse share for the eye-space vertex `at` with eye-space
// normal n: position is the light's point divided by its w (w 1), or its
// direction (w 0).
vec3 light(vec4 position, vec4 diffuseLight, vec3 at, vec3 n, vec3 diffuse) {
    vec3 d = position.xyz - at * position.w;
    vec3 towards = d * inversesqrt(max(dot(d, d), 1e-30));
    return max(dot(n, towards), 0.0) * diffuseLight.rgb * diffuse;
}

// OpenGL 1.1's lighting equation (section 2.13.1) for ambient and diffuse
// light: point or directional lights without attenuation or spotlights, a
// black specular material, colour material for ambient and diffuse, and
// OpenGL's default material colours without it. sceneAmbient is the model's
// ambient light and every light's, summed. Texts are lit by the same equation
// on the CPU (litColor, src/web/Lighting.cpp).
vec3 lit(vec3 base, vec3 objectNormal, vec4 eye) {
    vec3 ambient = colorMaterial ? base : vec3(MATERIAL_AMBIENT);
    vec3 diffuse = colorMaterial ? base : vec3(MATERIAL_DIFFUSE);
    vec3 n = normals * objectNormal;
    vec3 at = eye.xyz * (1.0 / eye.w);
    vec3 c = ambient * sceneAmbient.rgb;
    for (int k = 0; k < LIGHTS; ++k) {
        c += light(lightPosition[k], lightDiffuse[k], at, n, diffuse);
    }
    return c;
}

vec3 window(vec3 object) {
    vec4 clip = modelViewProjection * vec4(object, 1.0);
    return vec3(clip.xy * (1.0 / clip.w) * viewportScale + viewportCentre, clip.z / clip.w);
}

// Mesa's position for coverage: 1/256 pixel from the pixel's centre, rounded
// half away from zero.
vec2 snapped(vec3 w) {
    vec2 f = (w.xy - 0.5) * 256.0;
    return sign(f) * floor(abs(f) + 0.5);
}

// The corner moved out so that both its edges move Growth pixels; a sliver's
// sharp corner moves at most MaxGrowth.
vec3 grown(vec3 own, vec3 next, vec3 previous) {
    vec3 toNext = next - own;
    vec3 toPrevious = previous - own;
    vec3 away = length(toPrevious.xy) * toNext + length(toNext.xy) * toPrevious;
    float twiceArea = abs(toNext.x * toPrevious.y - toNext.y * toPrevious.x);
    float growth = min(Growth / max(twiceArea, 1e-6), MaxGrowth / max(length(away.xy), 1e-6));
    return own - growth * away;
}

void main() {
    vec3 a = window(cornerA);
    vec3 b = window(cornerB);
    vec3 c = window(cornerC);
    // Weights of 0 and 1 pick this corner, the next and the one before exactly.
    float first = 1.0 - step(0.5, which);
    float last = step(1.5, which);
    float middle = 1.0 - first - last;
    vec3 own = grown(first * a + middle * b + last * c, first * b + middle * c + last * a,
                     first * c + middle * a + last * b);
    vec2 snappedA = snapped(a);
    vec2 snappedB = snapped(b);
    vec2 snappedC = snapped(c);
    float turn = cross2(snappedB - snappedA, snappedC - snappedA);
    float keep = abs(sign(turn));
    own = mix(a, own, keep);
    gl_Position = vec4((own.xy - viewportCentre) / viewportScale, own.z, 1.0);
    float clockwise = step(turn, 0.0);
    exactAB = vec4(snappedA, mix(snappedB, snappedC, clockwise));
    exactC = mix(snappedC, snappedB, clockwise);
    vec3 position = flatShading ? cornerC : first * cornerA + middle * cornerB + last * cornerC;
    vec4 eye = modelView * vec4(position, 1.0);
    shade = lit(flatShading ? provokingColor : color, flatShading ? provokingNormal : normal, eye);
}
)";

// A pixel belongs to the triangle when its centre is inside each edge, or on
// a left or a bottom edge (y points up here), as the desktop's Mesa decides:
// a triangle whose bottom edge runs through pixel centres has that row, one
// whose top edge does has not. Interpolation blurs even values that are the
// same at every corner, so the corners are rounded to whole 1/256 pixels
// again here. Positions in 1/256 pixel pass 2^16 beyond pixel 256, far out
// of a 16-bit mediump's reach, so they are highp: gl_FragCoord is mediump,
// and arithmetic on it would be too. A GPU without highp fragments cannot
// hold them and draws the grown triangles whole instead (ROUGH, defined by
// linkProgram).
constexpr const char* FragmentShader = R"(
varying vec3 shade;
varying vec4 exactAB;
varying vec2 exactC;

bool inside(vec2 from, vec2 to, vec2 p) {
    vec2 edge = to - from;
    float e = cross2(edge, p - from);
    return e > 0.0 || (e == 0.0 && (edge.y < 0.0 || (edge.y == 0.0 && edge.x > 0.0)));
}

void main() {
#ifndef ROUGH
    vec4 ab = floor(exactAB + 0.5);
    vec2 c = floor(exactC + 0.5);
    highp vec2 centre = gl_FragCoord.xy;
    vec2 p = (centre - 0.5) * 256.0;
    if (!inside(ab.xy, ab.zw, p) || !inside(ab.zw, c, p) || !inside(c, ab.xy, p)) {
        discard;
    }
#endif
    gl_FragColor = vec4(shade, 1.0);
}
)";

}  // namespace

std::string meshVertexShader(int lights) {
    return "#define LIGHTS " + std::to_string(lights) + "\n#define MAX_LIGHTS " +
           std::to_string(MaxLights) + "\n#define MATERIAL_AMBIENT " +
           std::to_string(DefaultMaterialAmbient) + "\n#define MATERIAL_DIFFUSE " +
           std::to_string(DefaultMaterialDiffuse) + "\n" + Cross2 + VertexShader;
}

std::string meshFragmentShader() {
    return std::string(Cross2) + FragmentShader;
}
