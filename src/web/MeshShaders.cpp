#include "web/MeshShaders.h"

// Every corner gets the whole triangle in window coordinates (device pixels)
// and moves out by a tenth of a pixel along its two edges, staying in the
// triangle's plane: the GPU snaps corners to 1/16 pixel, so the grown triangle
// reaches every pixel that the exact one covers, and the fragment shader
// keeps just those.
const char* const MeshVertexShader = R"(
attribute vec3 cornerA;
attribute vec3 cornerB;
attribute vec3 cornerC;
attribute float which;
attribute vec3 normal;
attribute vec3 color;
attribute vec3 provokingNormal;
attribute vec3 provokingColor;
uniform mat4 modelView;
uniform mat4 projection;
uniform mat3 normals;
uniform bool lighting;
uniform bool colorMaterial;
uniform bool flatShading;
uniform vec4 modelAmbient;
uniform int lightCount;
uniform vec4 lightPosition[8];
uniform vec4 lightAmbient[8];
uniform vec4 lightDiffuse[8];
uniform vec2 viewportScale;
uniform vec2 viewportCentre;
varying vec3 shade;
varying vec4 exactAB;
varying vec2 exactC;
const float Growth = 0.1;

// OpenGL 1.1's lighting equation (section 2.13.1) for ambient and diffuse
// light: point or directional lights without attenuation or spotlights, a
// black specular material, colour material for ambient and diffuse, and
// OpenGL's default material colours without it.
vec3 lit(vec3 base, vec3 objectNormal, vec4 eye) {
    if (!lighting) {
        return base;
    }
    vec3 ambient = colorMaterial ? base : vec3(0.2);
    vec3 diffuse = colorMaterial ? base : vec3(0.8);
    vec3 n = normals * objectNormal;
    vec3 c = ambient * modelAmbient.rgb;
    for (int i = 0; i < 8; ++i) {
        if (i >= lightCount) {
            break;
        }
        vec4 light = lightPosition[i];
        vec3 d = light.w != 0.0 ? light.xyz / light.w - eye.xyz / eye.w : light.xyz;
        float distance = length(d);
        vec3 towards = distance > 0.0 ? d / distance : vec3(0.0);
        float facing = max(dot(n, towards), 0.0);
        c += lightAmbient[i].rgb * ambient + facing * lightDiffuse[i].rgb * diffuse;
    }
    return c;
}

// The desktop's Mesa stores the nearest 8-bit step, ties to even; a quarter
// step above it gives that step whether the GPU rounds or cuts off.
vec3 stored(vec3 c) {
    vec3 scaled = clamp(c, 0.0, 1.0) * 255.0;
    vec3 nearest = floor(scaled + 0.5);
    nearest -= step(0.5, nearest - scaled) * mod(nearest, 2.0);
    return (nearest + 0.25) / 255.0;
}

vec3 window(vec4 eye) {
    vec4 clip = projection * eye;
    vec3 ndc = clip.xyz / clip.w;
    return vec3(ndc.xy * viewportScale + viewportCentre, ndc.z);
}

// Mesa's position for coverage: 1/256 pixel, rounded half away from zero,
// from the pixel's centre.
vec2 snapped(vec3 w) {
    vec2 f = (w.xy - 0.5) * 256.0;
    return sign(f) * floor(abs(f) + 0.5);
}

vec3 grown(vec3 own, vec3 next, vec3 previous) {
    vec3 toNext = next - own;
    vec3 toPrevious = previous - own;
    float twiceArea = abs(toNext.x * toPrevious.y - toNext.y * toPrevious.x);
    if (twiceArea < 1e-6) {
        return own;
    }
    float growth = Growth / twiceArea;
    return own - growth * (length(toPrevious.xy) * toNext + length(toNext.xy) * toPrevious);
}

void main() {
    vec4 eyeA = modelView * vec4(cornerA, 1.0);
    vec4 eyeB = modelView * vec4(cornerB, 1.0);
    vec4 eyeC = modelView * vec4(cornerC, 1.0);
    vec3 a = window(eyeA);
    vec3 b = window(eyeB);
    vec3 c = window(eyeC);
    vec3 own = which < 0.5 ? grown(a, b, c) : which < 1.5 ? grown(b, c, a) : grown(c, a, b);
    gl_Position = vec4((own.xy - viewportCentre) / viewportScale, own.z, 1.0);
    exactAB = vec4(snapped(a), snapped(b));
    exactC = snapped(c);
    vec4 eye = which < 0.5 ? eyeA : which < 1.5 ? eyeB : eyeC;
    shade = stored(flatShading ? lit(provokingColor, provokingNormal, eyeC) : lit(color, normal, eye));
}
)";

// A pixel belongs to the triangle when its centre is inside each edge, or on
// an edge that is a top or left one after turning the triangle
// counter-clockwise, as in Mesa. Corners and centres are whole 1/256 pixels;
// a cross product needs more than a float's 24 bits, so one side is split
// into a multiple of 64 and the rest: each partial product is exact, and so
// is the sign of their sum, while edges and distances stay under 64 pixels.
const char* const MeshFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#define ROUGH
#endif
varying vec3 shade;
varying vec4 exactAB;
varying vec2 exactC;

float cross2(vec2 u, vec2 v) {
    vec2 high = floor(v / 64.0) * 64.0;
    vec2 low = v - high;
    return (u.x * high.y - u.y * high.x) + (u.x * low.y - u.y * low.x);
}

bool inside(vec2 from, vec2 to, vec2 p, float turn) {
    vec2 edge = turn * (to - from);
    float e = turn * cross2(to - from, p - from);
    return e > 0.0 || (e == 0.0 && (edge.y < 0.0 || (edge.y == 0.0 && edge.x > 0.0)));
}

void main() {
#ifndef ROUGH
    vec2 a = floor(exactAB.xy + 0.5);
    vec2 b = floor(exactAB.zw + 0.5);
    vec2 c = floor(exactC + 0.5);
    vec2 p = (gl_FragCoord.xy - 0.5) * 256.0;
    float turn = sign(cross2(b - a, c - a));
    if (turn == 0.0 || !inside(a, b, p, turn) || !inside(b, c, p, turn) || !inside(c, a, p, turn)) {
        discard;
    }
#endif
    gl_FragColor = vec4(shade, 1.0);
}
)";
