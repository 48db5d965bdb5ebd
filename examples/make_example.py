#!/usr/bin/env python3
"""Writes the example character: a small box-built humanoid with the Meteor
skeleton, its six dummies, a generated texture and a one-second walk cycle.

    python3 examples/make_example.py [OUTPUT_DIR]

Output (default: the directory of this script): walker.gltf (glTF 2.0),
walker.bin (its buffer) and walker.png (the body texture). The output is
byte for byte the same on every run; only the Python standard library is
used.

The character stands on the origin, Y up, facing +Z, its left side on +X,
1.8 units tall. The skeleton:

    d_base                       helper, top level
      b                          root bone
        bad_Pelvis
          bau_Spine - bau_Spine1 - bau_Neck
            bau_Head             d_top (helper) under it
            bau_L_Clavicle - bau_L_UpperArm - bau_L_Forearm - bau_L_Hand
              bbu_L_Finger0 - bbu_L_Finger01, bbu_L_Finger1 - bbu_L_Finger11,
              d_wpnLP (helper) - d_wpnL (helper)
            bau_R_... the same on the right, with d_wpnRP - d_wpnR
          bad_L_Thigh - bad_L_Calf - bad_L_Foot - bbd_L_Toe0
          bad_R_Thigh - ... the same on the right

Every one of the 30 bones carries a box of the body mesh, so every bone is
weighted by some vertex; the six dummies carry none. The boxes of the limbs
blend their upper end with the parent bone (weights 0.6 and 0.4); all other
vertices are bound rigidly to one bone. The mesh has two materials: "Cloth"
(textured with walker.png) for the trunk and limbs, and "Skin" (a plain
colour) for the head, neck, hands and fingers.
"""

import json
import math
import os
import struct
import sys
import zlib

BASE = "walker"

# (name, parent, head position in the rest pose); rest rotations are identity.
SKELETON = [
    ("d_base", None, (0.0, 0.0, 0.0)),
    ("b", "d_base", (0.0, 0.95, 0.0)),
    ("bad_Pelvis", "b", (0.0, 0.95, 0.0)),
    ("bau_Spine", "bad_Pelvis", (0.0, 1.05, 0.0)),
    ("bau_Spine1", "bau_Spine", (0.0, 1.25, 0.0)),
    ("bau_Neck", "bau_Spine1", (0.0, 1.45, 0.0)),
    ("bau_Head", "bau_Neck", (0.0, 1.55, 0.0)),
    ("d_top", "bau_Head", (0.0, 1.80, 0.0)),
]
for side, sx in (("L", 1.0), ("R", -1.0)):
    SKELETON += [
        ("bau_%s_Clavicle" % side, "bau_Neck", (0.03 * sx, 1.42, 0.0)),
        ("bau_%s_UpperArm" % side, "bau_%s_Clavicle" % side, (0.21 * sx, 1.42, 0.0)),
        ("bau_%s_Forearm" % side, "bau_%s_UpperArm" % side, (0.21 * sx, 1.15, 0.0)),
        ("bau_%s_Hand" % side, "bau_%s_Forearm" % side, (0.21 * sx, 0.90, 0.0)),
        ("bbu_%s_Finger0" % side, "bau_%s_Hand" % side, (0.21 * sx, 0.86, 0.04)),
        ("bbu_%s_Finger01" % side, "bbu_%s_Finger0" % side, (0.21 * sx, 0.83, 0.05)),
        ("bbu_%s_Finger1" % side, "bau_%s_Hand" % side, (0.21 * sx, 0.82, 0.0)),
        ("bbu_%s_Finger11" % side, "bbu_%s_Finger1" % side, (0.21 * sx, 0.77, 0.0)),
        ("d_wpn%sP" % side, "bau_%s_Hand" % side, (0.21 * sx, 0.85, 0.0)),
        ("d_wpn%s" % side, "d_wpn%sP" % side, (0.21 * sx, 0.85, 0.02)),
        ("bad_%s_Thigh" % side, "bad_Pelvis", (0.10 * sx, 0.92, 0.0)),
        ("bad_%s_Calf" % side, "bad_%s_Thigh" % side, (0.10 * sx, 0.50, 0.0)),
        ("bad_%s_Foot" % side, "bad_%s_Calf" % side, (0.10 * sx, 0.08, 0.0)),
        ("bbd_%s_Toe0" % side, "bad_%s_Foot" % side, (0.10 * sx, 0.02, 0.12)),
    ]

# The 30 bones in the order of the Meteor skeleton table; they are the
# skin's joints in this order.
BONES = [
    "b", "bad_Pelvis", "bau_Spine",
    "bad_L_Thigh", "bad_L_Calf", "bad_L_Foot", "bbd_L_Toe0",
    "bad_R_Thigh", "bad_R_Calf", "bad_R_Foot", "bbd_R_Toe0",
    "bau_Spine1", "bau_Neck", "bau_Head",
    "bau_L_Clavicle", "bau_L_UpperArm", "bau_L_Forearm", "bau_L_Hand",
    "bbu_L_Finger0", "bbu_L_Finger01", "bbu_L_Finger1", "bbu_L_Finger11",
    "bau_R_Clavicle", "bau_R_UpperArm", "bau_R_Forearm", "bau_R_Hand",
    "bbu_R_Finger0", "bbu_R_Finger01", "bbu_R_Finger1", "bbu_R_Finger11",
]

CLOTH, SKIN = 0, 1

# (bone, material, min corner, max corner, blended end): the blended end is
# "top" when the box's upper face blends with the parent bone.
BOXES = [
    ("b", CLOTH, (-0.03, 0.92, -0.03), (0.03, 0.98, 0.03), None),
    ("bad_Pelvis", CLOTH, (-0.15, 0.86, -0.09), (0.15, 1.05, 0.09), None),
    ("bau_Spine", CLOTH, (-0.14, 1.05, -0.08), (0.14, 1.25, 0.08), None),
    ("bau_Spine1", CLOTH, (-0.17, 1.25, -0.09), (0.17, 1.45, 0.09), "bottom"),
    ("bau_Neck", SKIN, (-0.05, 1.45, -0.05), (0.05, 1.55, 0.05), "bottom"),
    ("bau_Head", SKIN, (-0.10, 1.55, -0.11), (0.10, 1.80, 0.11), None),
]
for side, sx in (("L", 1.0), ("R", -1.0)):
    def span(a, b):
        return (min(a * sx, b * sx), max(a * sx, b * sx))
    x0, x1 = span(0.03, 0.17)
    ux0, ux1 = span(0.165, 0.255)
    ax0, ax1 = span(0.17, 0.25)
    hx0, hx1 = span(0.18, 0.24)
    fx0, fx1 = span(0.195, 0.225)
    lx0, lx1 = span(0.03, 0.17)
    kx0, kx1 = span(0.045, 0.155)
    ox0, ox1 = span(0.05, 0.15)
    BOXES += [
        ("bau_%s_Clavicle" % side, CLOTH, (x0, 1.39, -0.05), (x1, 1.45, 0.05), None),
        ("bau_%s_UpperArm" % side, CLOTH, (ux0, 1.15, -0.045), (ux1, 1.44, 0.045), "top"),
        ("bau_%s_Forearm" % side, CLOTH, (ax0, 0.90, -0.04), (ax1, 1.15, 0.04), "top"),
        ("bau_%s_Hand" % side, SKIN, (hx0, 0.82, -0.035), (hx1, 0.90, 0.035), None),
        ("bbu_%s_Finger0" % side, SKIN, (fx0, 0.83, 0.035), (fx1, 0.87, 0.055), None),
        ("bbu_%s_Finger01" % side, SKIN, (fx0, 0.80, 0.04), (fx1, 0.83, 0.06), None),
        ("bbu_%s_Finger1" % side, SKIN, (hx0, 0.77, -0.03), (hx1, 0.82, 0.03), None),
        ("bbu_%s_Finger11" % side, SKIN, (hx0, 0.73, -0.025), (hx1, 0.77, 0.025), None),
        ("bad_%s_Thigh" % side, CLOTH, (lx0, 0.50, -0.07), (lx1, 0.92, 0.07), "top"),
        ("bad_%s_Calf" % side, CLOTH, (kx0, 0.08, -0.055), (kx1, 0.50, 0.055), "top"),
        ("bad_%s_Foot" % side, CLOTH, (ox0, 0.0, -0.05), (ox1, 0.08, 0.12), None),
        ("bbd_%s_Toe0" % side, CLOTH, (ox0, 0.0, 0.12), (ox1, 0.04, 0.18), None),
    ]

FPS_KEYS = 8          # keys per second of the walk cycle (plus the closing one)
CYCLE = 1.0           # seconds


def parent_of(name):
    for n, p, _ in SKELETON:
        if n == name:
            return p
    raise KeyError(name)


def head_of(name):
    for n, _, h in SKELETON:
        if n == name:
            return h
    raise KeyError(name)


def box_vertices(lo, hi):
    """24 corners (4 per face) with normals and UVs, and 12 triangles."""
    faces = [
        ((1, 0, 0), [(1, 0, 1), (1, 0, 0), (1, 1, 0), (1, 1, 1)]),
        ((-1, 0, 0), [(0, 0, 0), (0, 0, 1), (0, 1, 1), (0, 1, 0)]),
        ((0, 1, 0), [(0, 1, 1), (1, 1, 1), (1, 1, 0), (0, 1, 0)]),
        ((0, -1, 0), [(0, 0, 0), (1, 0, 0), (1, 0, 1), (0, 0, 1)]),
        ((0, 0, 1), [(0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)]),
        ((0, 0, -1), [(1, 0, 0), (0, 0, 0), (0, 1, 0), (1, 1, 0)]),
    ]
    uvs = [(0.0, 1.0), (1.0, 1.0), (1.0, 0.0), (0.0, 0.0)]
    verts, tris = [], []
    for normal, corners in faces:
        base = len(verts)
        for (cx, cy, cz), uv in zip(corners, uvs):
            p = (hi[0] if cx else lo[0], hi[1] if cy else lo[1], hi[2] if cz else lo[2])
            verts.append((p, normal, uv, cy))
        tris += [(base, base + 1, base + 2), (base, base + 2, base + 3)]
    return verts, tris


def build_primitives():
    """Per material: vertex records and triangles."""
    prims = {CLOTH: ([], []), SKIN: ([], [])}
    for bone, material, lo, hi, blend in BOXES:
        verts, tris = box_vertices(lo, hi)
        out_verts, out_tris = prims[material]
        base = len(out_verts)
        joint = BONES.index(bone)
        parent = BONES.index(parent_of(bone)) if blend else joint
        for p, n, uv, upper in verts:
            blended = (blend == "top" and upper) or (blend == "bottom" and not upper)
            if blended:
                joints, weights = (joint, parent, 0, 0), (0.6, 0.4, 0.0, 0.0)
            else:
                joints, weights = (joint, 0, 0, 0), (1.0, 0.0, 0.0, 0.0)
            out_verts.append((p, n, uv, joints, weights))
        out_tris += [(a + base, b + base, c + base) for a, b, c in tris]
    return [prims[CLOTH], prims[SKIN]]


def rot_x(deg):
    a = math.radians(deg) / 2
    return (math.sin(a), 0.0, 0.0, math.cos(a))


def rot_y(deg):
    a = math.radians(deg) / 2
    return (0.0, math.sin(a), 0.0, math.cos(a))


def walk_tracks():
    """(node, path, [values]) sampled at the key times; a cycle that closes."""
    times = [i * CYCLE / FPS_KEYS for i in range(FPS_KEYS + 1)]
    w = [2 * math.pi * t / CYCLE for t in times]
    tracks = []
    # Positive angles about X turn a limb hanging down towards -Z (backwards).
    tracks.append(("b", "translation",
                   [(0.0, 0.95 + 0.02 * math.cos(2 * a), 0.0) for a in w]))
    tracks.append(("bau_Spine1", "rotation", [rot_y(6 * math.sin(a)) for a in w]))
    for side, phase in (("L", 0.0), ("R", math.pi)):
        tracks.append(("bad_%s_Thigh" % side, "rotation",
                       [rot_x(-25 * math.sin(a + phase)) for a in w]))
        tracks.append(("bad_%s_Calf" % side, "rotation",
                       [rot_x(15 + 15 * math.cos(a + phase)) for a in w]))
        tracks.append(("bau_%s_UpperArm" % side, "rotation",
                       [rot_x(20 * math.sin(a + phase)) for a in w]))
        tracks.append(("bau_%s_Forearm" % side, "rotation",
                       [rot_x(-15 - 10 * math.sin(a + phase)) for a in w]))
    return times, tracks


def png(width, height, pixel):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def texture_pixel(x, y):
    # A cloth pattern: dark seams on the edges, two-tone checks inside.
    if x < 2 or y < 2 or x > 61 or y > 61:
        return (40, 40, 60)
    if ((x // 8) + (y // 8)) % 2:
        return (60, 90, 170)
    return (90, 130, 210)


class BufferWriter:
    def __init__(self):
        self.data = bytearray()
        self.views = []
        self.accessors = []

    def view(self, payload):
        while len(self.data) % 4:
            self.data.append(0)
        self.views.append({"buffer": 0, "byteOffset": len(self.data), "byteLength": len(payload)})
        self.data += payload
        return len(self.views) - 1

    def accessor(self, fmt, component, kind, values, minmax=False):
        payload = b"".join(struct.pack("<" + fmt, *v) if isinstance(v, tuple) else struct.pack("<" + fmt, v)
                           for v in values)
        acc = {"bufferView": self.view(payload), "componentType": component,
               "count": len(values), "type": kind}
        if minmax:
            cols = list(zip(*[v if isinstance(v, tuple) else (v,) for v in values]))
            acc["min"] = [min(c) for c in cols]
            acc["max"] = [max(c) for c in cols]
        self.accessors.append(acc)
        return len(self.accessors) - 1


FLOAT, UBYTE, USHORT = 5126, 5121, 5123


def rounded(v, places=6):
    if isinstance(v, tuple):
        return tuple(rounded(x, places) for x in v)
    return round(v, places) + 0.0


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out_dir, exist_ok=True)
    buf = BufferWriter()

    index = {name: i for i, (name, _, _) in enumerate(SKELETON)}
    body_node = len(SKELETON)
    nodes = []
    for name, parent, head in SKELETON:
        ph = head_of(parent) if parent else (0.0, 0.0, 0.0)
        node = {"name": name}
        local = rounded(tuple(h - p for h, p in zip(head, ph)))
        if any(local):
            node["translation"] = list(local)
        children = [index[n] for n, p, _ in SKELETON if p == name]
        if children:
            node["children"] = children
        nodes.append(node)
    nodes.append({"name": "Body", "mesh": 0, "skin": 0})

    primitives = []
    for material, (verts, tris) in enumerate(build_primitives()):
        attrs = {
            "POSITION": buf.accessor("3f", FLOAT, "VEC3", [rounded(v[0]) for v in verts], minmax=True),
            "NORMAL": buf.accessor("3f", FLOAT, "VEC3", [tuple(float(c) for c in v[1]) for v in verts]),
            "TEXCOORD_0": buf.accessor("2f", FLOAT, "VEC2", [v[2] for v in verts]),
            "JOINTS_0": buf.accessor("4B", UBYTE, "VEC4", [v[3] for v in verts]),
            "WEIGHTS_0": buf.accessor("4f", FLOAT, "VEC4", [v[4] for v in verts]),
        }
        flat = [i for t in tris for i in t]
        primitives.append({"attributes": attrs,
                           "indices": buf.accessor("H", USHORT, "SCALAR", flat),
                           "material": material})

    ibms = []
    for name in BONES:
        x, y, z = head_of(name)
        ibms.append(rounded((1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, -x, -y, -z, 1.0)))
    ibm_accessor = buf.accessor("16f", FLOAT, "MAT4", ibms)

    times, tracks = walk_tracks()
    time_accessor = buf.accessor("f", FLOAT, "SCALAR", [rounded(t) for t in times], minmax=True)
    samplers, channels = [], []
    for node, path, values in tracks:
        fmt, kind = ("4f", "VEC4") if path == "rotation" else ("3f", "VEC3")
        out = buf.accessor(fmt, FLOAT, kind, [rounded(v) for v in values])
        samplers.append({"input": time_accessor, "output": out, "interpolation": "LINEAR"})
        channels.append({"sampler": len(samplers) - 1, "target": {"node": index[node], "path": path}})

    gltf = {
        "asset": {"version": "2.0", "generator": "examples/make_example.py"},
        "scene": 0,
        "scenes": [{"name": "Walker", "nodes": [index["d_base"], body_node]}],
        "nodes": nodes,
        "meshes": [{"name": "Body", "primitives": primitives}],
        "skins": [{"name": "Skeleton", "joints": [index[n] for n in BONES],
                   "inverseBindMatrices": ibm_accessor}],
        "materials": [
            {"name": "Cloth", "pbrMetallicRoughness": {
                "baseColorTexture": {"index": 0}, "metallicFactor": 0.0, "roughnessFactor": 0.9}},
            {"name": "Skin", "pbrMetallicRoughness": {
                "baseColorFactor": [0.85, 0.65, 0.5, 1.0], "metallicFactor": 0.0, "roughnessFactor": 0.8}},
        ],
        "textures": [{"source": 0, "sampler": 0}],
        "samplers": [{"magFilter": 9728, "minFilter": 9728}],
        "images": [{"uri": BASE + ".png"}],
        "animations": [{"name": "Walk", "samplers": samplers, "channels": channels}],
        "buffers": [{"uri": BASE + ".bin", "byteLength": len(buf.data)}],
        "bufferViews": buf.views,
        "accessors": buf.accessors,
    }

    with open(os.path.join(out_dir, BASE + ".bin"), "wb") as f:
        f.write(bytes(buf.data))
    with open(os.path.join(out_dir, BASE + ".png"), "wb") as f:
        f.write(png(64, 64, texture_pixel))
    with open(os.path.join(out_dir, BASE + ".gltf"), "w", newline="\n") as f:
        json.dump(gltf, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()
