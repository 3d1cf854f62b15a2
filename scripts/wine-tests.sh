#!/usr/bin/env bash
echo "wine-tests: not yet written"
