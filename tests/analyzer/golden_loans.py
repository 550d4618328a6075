#!/usr/bin/env python3
"""Reference figures for the analyzer tests, worked out apart from the C++ code.

Each step of the handheld's arithmetic is a single-precision operation; Python works in double,
so every result is rounded back to single precision with struct (exact for +, - and *: a double
holds the exact product or sum of two singles closely enough that the second rounding changes
nothing). The payment follows the closed-form annuity formula. Run it and copy the printed
figures into the tests; they are literals there so that a fault in the C++ arithmetic cannot
hide behind the same fault in the expected values.
"""
import math
import struct


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


MONTHLY = f32(1 / 1200)  # 0.00083333335


def payment(p, rate, n):
    r = f32(f32(rate) * MONTHLY)
    x = f32(r * f32(p))
    d = 1.0 - math.pow(r + 1.0, -n)
    return f32(x / d)


def total_interest(p, rate, n):
    a = payment(p, rate, n)
    r = f32(f32(rate) * MONTHLY)
    b, t, passes = f32(p), f32(0), 0
    while b > 0:
        i = f32(r * b)
        t = f32(i + t)
        b = f32(b - f32(a - i))
        passes += 1
    return t, passes


def payoff(p, rate, n, m0, y0, extra, scenario, month, year):
    a = payment(p, rate, n)
    r = f32(f32(rate) * MONTHLY)
    b, t, k, m, y = f32(p), f32(0), 0, m0, y0
    while b > 0:
        k += 1
        i = f32(r * b)
        t = f32(i + t)
        b = f32(b - f32(a - i))
        if scenario == 1 or (scenario == 2 and m == month) or (
                scenario == 3 and m == month and y == year):
            b = f32(b - f32(extra))
        if b > 0:
            m += 1
            if m > 12:
                m, y = 1, y + 1
    return t, k, m, y


def money(v):
    """"%4.2f" of the single value, then US currency form."""
    text = "%.2f" % v
    neg = text.startswith("-")
    whole, cents = text.lstrip("-").split(".")
    grouped = "{:,}".format(int(whole))
    return ("-" if neg else "") + "$" + grouped + "." + cents


if __name__ == "__main__":
    a, passes = total_interest(100000, 6, 360)
    c = payment(100000, 6, 360)
    print("current 100000 at 6 % over 360: payment", money(c), "interest", money(a), passes,
          "passes")
    for p, rate, n in [(100000, 5, 360), (100000, 6, 180), (110000, 5.5, 480), (0, 6, 360),
                       (100000, 6, 24), (250000, 7.5, 360)]:
        b, passes = total_interest(p, rate, n)
        d = payment(p, rate, n)
        print(f"{p} at {rate} % over {n}: payment {money(d)} interest {money(b)} ({passes} "
              f"passes); interest difference {money(abs(f32(a - b)))}, payment difference "
              f"{money(abs(f32(c - d)))}")
    t, k, m, y = payoff(100000, 6, 360, 1, 2002, 1000, 2, 1, 0)
    print("1000 every January from January 2002:", money(t), k, "payments, last", m, y,
          "saving", money(f32(a - t)))
    t, k, m, y = payoff(100000, 6, 360, 1, 2002, 100, 1, 1, 0)
    print("100 every month:", money(t), k, "payments, last", m, y, "saving", money(f32(a - t)))
    a6 = payment(100000, 6, 360)
    r6 = f32(f32(6) * MONTHLY)
    b = f32(100000)
    for k in range(1, 361):
        i = f32(r6 * b)
        p = f32(a6 - i)
        b = f32(b - p)
        if k in (1, 2, 12, 180, 359, 360):
            print(f"schedule row {k}: principal {p:.9g} interest {i:.9g} balance {b:.9g}")
    for label, args in [("1000 every February", (1000, 2, 2, 0)),
                        ("1000 once in January 2002", (1000, 3, 1, 2002)),
                        ("200000 once in May 2003", (200000, 3, 5, 2003)),
                        ("5000 once in March 1990", (5000, 3, 3, 1990))]:
        t, k, m, y = payoff(100000, 6, 360, 1, 2002, *args)
        print(f"{label}: {money(t)} ({t:.9g}) {k} payments, last {m} {y}")
