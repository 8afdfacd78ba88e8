// A colour factor of its own for slab i: alternate slabs a shade apart and a
// slight hue turn along the stack. The same over a whole slab, so either
// stage may work it out.
vec3 slabTint(float i) {
    vec3 turn = 0.09 * cos(i * 2.4 + vec3(0.0, 2.1, 4.2));
    return (mod(i, 2.0) < 1.0 ? 1.0 : 0.84) * (1.0 + turn);
}
