#!/usr/bin/env python3
"""Prints the rows of rop3_table.cpp: for each of the 256 ternary raster operations the
shortest expression over P, S and D (operators ~ & | ^) whose truth table is the index.
Bit ((P << 2) | (S << 1) | D) of the index is the result, so P = 0xF0, S = 0xCC, D = 0xAA."""

ATOMS = {0xF0: "P", 0xCC: "S", 0xAA: "D", 0x00: "0", 0xFF: "~0"}


def cost(expr):
    return sum(expr.count(op) for op in "~&|^") * 4 + len(expr)


def search():
    best = dict(ATOMS)
    changed = True
    while changed:
        changed = False
        items = list(best.items())
        candidates = []
        for t, e in items:
            inner = e if len(e) == 1 else "(" + e + ")"
            candidates.append(((~t) & 0xFF, "~" + inner))
        for ta, ea in items:
            for tb, eb in items:
                if ea >= eb:
                    continue
                wa = ea if len(ea) <= 2 else "(" + ea + ")"
                wb = eb if len(eb) <= 2 else "(" + eb + ")"
                candidates.append((ta & tb, wa + "&" + wb))
                candidates.append((ta | tb, wa + "|" + wb))
                candidates.append((ta ^ tb, wa + "^" + wb))
        for t, e in candidates:
            if t not in best or cost(e) < cost(best[t]):
                best[t] = e
                changed = True
    return best


def main():
    best = search()
    for index in range(256):
        expr = best[index]
        print(f"    ROP({expr}),  // 0x{index:02X} {expr.replace(' ', '')}")


if __name__ == "__main__":
    main()
