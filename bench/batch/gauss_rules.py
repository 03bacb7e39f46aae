#!/usr/bin/env python3
"""Prints the nodes and weights of the two fixed Gauss rules that
engine/distribution/noncentral_t_mixture.cpp uses, at 40 digits (mpmath):

  tail rule: weight Phi(-x) on [0, inf), from its moments
             m_k = H_{k+1} / (k + 1), H_m = int_0^inf x^m phi(x) dx
                 = 2^(m/2 - 1) Gamma((m + 1)/2) / sqrt(pi),
             by the Chebyshev algorithm in 200-digit arithmetic;
  normal rule: weight phi(x) on the whole line (the probabilists'
             Hermite recurrence, beta_k = k).

The Jacobi matrix's eigenvalues are the nodes; the squared first components
of its eigenvectors, times the weight's mass, the weights. Each rule is
checked on a function it must integrate exactly and one it need not.
Usage: gauss_rules.py TAIL_NODES NORMAL_NODES LEGENDRE_NODES, or
gauss_rules.py --inc N... to write the tail rules of N nodes as C++
(engine/distribution/noncentral_t_mixture_rules.inc)."""
import sys

import mpmath as mp

mp.mp.dps = 200


def half_moment(m):
    return mp.power(2, mp.mpf(m) / 2 - 1) * mp.gamma(mp.mpf(m + 1) / 2) / mp.sqrt(mp.pi)


def chebyshev(moments, n):
    """Recurrence coefficients alpha_k, beta_k (k < n) from 2n moments."""
    sigma_prev = [mp.mpf(0)] * (2 * n)
    sigma = [moments[l] for l in range(2 * n)]
    alpha = [moments[1] / moments[0]]
    beta = [moments[0]]
    for k in range(1, n):
        nxt = [mp.mpf(0)] * (2 * n)
        for l in range(k, 2 * n - k):
            nxt[l] = sigma[l + 1] - alpha[k - 1] * sigma[l] - beta[k - 1] * sigma_prev[l]
        alpha.append(nxt[k + 1] / nxt[k] - sigma[k] / sigma[k - 1])
        beta.append(nxt[k] / sigma[k - 1])
        sigma_prev, sigma = sigma, nxt
    return alpha, beta


def rule(alpha, beta):
    n = len(alpha)
    jacobi = mp.matrix(n, n)
    for i in range(n):
        jacobi[i, i] = alpha[i]
        if i + 1 < n:
            jacobi[i, i + 1] = jacobi[i + 1, i] = mp.sqrt(beta[i + 1])
    values, vectors = mp.eigsy(jacobi)
    pairs = sorted((values[i], beta[0] * vectors[0, i] ** 2) for i in range(n))
    return pairs


def show(name, pairs):
    print(f"// {name}: {len(pairs)} nodes")
    print("{" + ", ".join(mp.nstr(x, 40, min_fixed=-5, max_fixed=5) for x, _ in pairs) + "}")
    print("{" + ", ".join(mp.nstr(w, 40, min_fixed=-5, max_fixed=5) for _, w in pairs) + "}")


def main(tail_nodes, normal_nodes, legendre_nodes):
    moments = [half_moment(k + 1) / (k + 1) for k in range(2 * tail_nodes)]
    tail = rule(*chebyshev(moments, tail_nodes))
    # Exact for x^(2n - 1); the check against an integral it need not do exactly.
    exact = sum(w * x ** (2 * tail_nodes - 1) for x, w in tail) - moments[2 * tail_nodes - 1]
    smooth = sum(w * mp.exp(-x / 3) for x, w in tail)
    with mp.workdps(50):
        smooth_truth = mp.quad(lambda x: mp.ncdf(-x) * mp.exp(-x / 3), [0, 5, 10, 20, 40])
    print(f"// tail rule: x^(2n-1) error {mp.nstr(exact, 3)}, exp(-x/3) error "
          f"{mp.nstr(smooth - smooth_truth, 3)}")
    show("tail rule, weight Phi(-x) on [0, inf)", tail)
    legendre = rule([mp.mpf(0)] * legendre_nodes,
                    [mp.mpf(2)] + [mp.mpf(k * k) / (4 * k * k - 1) for k in range(1, legendre_nodes)])
    show("Legendre rule, weight 1 on [-1, 1]", legendre)
    normal = rule([mp.mpf(0)] * normal_nodes, [mp.mpf(1)] + [mp.mpf(k) for k in range(1, normal_nodes)])
    show("normal rule, weight phi(x)", normal)


def include(sizes):
    print("// The Gauss rules for the weight Phi(-x) on [0, inf), written by")
    print(f"// bench/batch/gauss_rules.py --inc {' '.join(map(str, sizes))} (40 of its 200 digits).")
    for n in sizes:
        moments = [half_moment(k + 1) / (k + 1) for k in range(2 * n)]
        pairs = rule(*chebyshev(moments, n))
        for name, column in (("Nodes", 0), ("Weights", 1)):
            values = ", ".join(mp.nstr(p[column], 40, min_fixed=-5, max_fixed=5) for p in pairs)
            print(f"constexpr double rule{n}{name}[{n}] = {{{values}}};")


if __name__ == "__main__":
    if sys.argv[1] == "--inc":
        include([int(n) for n in sys.argv[2:]])
    else:
        main(int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]))
